#include "platform/ContrastMark.h"

#include <charconv>
#include <string>

#include "gfx/Palette.h"
#include "base/Settings.h"

namespace celvane {

namespace {
constexpr double kDefaultGamma = 2.2;

// A decimal number whatever the locale; the default for text that is not a positive number.
double gammaOf(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && value > 0 ? value : kDefaultGamma;
}
} // namespace

uint32_t contrastForBackground(uint32_t rgbValue)
{
    const Settings& settings = Settings::instance();
    return contrastForBackground(rgbValue, gammaOf(settings.getString("Settings", "Gamma", "2.2")),
                                 settings.getInt("Settings", "Threshold", 172, 0, 255));
}

} // namespace celvane
