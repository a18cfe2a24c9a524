#include "view/tools/PenSizeText.h"

#include <charconv>

#include "view/tools/PenTool.h"

namespace celvane {

namespace {
// One side: digits only, within range; `pos` moves past them.
std::optional<int> side(const std::string& text, size_t& pos)
{
    const char* begin = text.data() + pos;
    const char* end = text.data() + text.size();
    int value = 0;
    const auto [next, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || next == begin || *begin == '-' || *begin == '+' || value < 1 || value > Pen::kMaxSide)
        return std::nullopt;
    pos = size_t(next - text.data());
    return value;
}

std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
} // namespace

std::string penSizeText(PenSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

std::optional<PenSize> parsePenSize(const std::string& input)
{
    const std::string text = trimmed(input);
    size_t pos = 0;
    const auto width = side(text, pos);
    if (!width || pos >= text.size() || (text[pos] != 'x' && text[pos] != 'X'))
        return std::nullopt;
    ++pos;
    const auto height = side(text, pos);
    if (!height || pos != text.size())
        return std::nullopt;
    return PenSize{*width, *height};
}

} // namespace celvane
