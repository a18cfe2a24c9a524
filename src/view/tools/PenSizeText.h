#pragma once
// The pen panel's size field: "%dx%d", each side 1 to 164.

#include <optional>
#include <string>

namespace celvane {

struct PenSize {
    int width = 1;
    int height = 1;
};

inline constexpr const char* kPenSizeFormatMessage = "Please specify pen size in the correct format (eg. 16x16)";

std::string penSizeText(PenSize size);
// Nothing for text in another form or a side outside 1 ... 164.
std::optional<PenSize> parsePenSize(const std::string& text);

} // namespace celvane
