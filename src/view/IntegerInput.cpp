#include "view/IntegerInput.h"

#include <charconv>

#include "base/Reporter.h"
#include "base/StringTable.h"

namespace celvane {

std::optional<int> acceptInteger(const std::string& text, int low, int high)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    int value = 0;
    if (first != std::string::npos) {
        const char* begin = text.data() + first;
        const char* end = text.data() + last + 1;
        const auto [stop, error] = std::from_chars(begin, end, value);
        if (error == std::errc() && stop == end && value >= low && value <= high)
            return value;
    }
    Reporter::message(formatMessage(IDS_PARSE_INT_RANGE, {std::to_string(low), std::to_string(high)}),
                      MessageButtons::Ok, MessageIcon::Warning);
    return std::nullopt;
}

} // namespace celvane
