#include "film/DefaultFilm.h"

#include <algorithm>

#include "base/StringTable.h"
#include "platform/Settings.h"

namespace celvane {

namespace {
// The depths a film can have; a screen of another depth gets the next one up.
int filmDepthFor(int bits)
{
    for (int d : {1, 4, 8, 16, 32})
        if (bits <= d)
            return d;
    return 32;
}
} // namespace

ImageInfo defaultFilmDescription(const ScreenInfo& screen, const Settings& settings, bool forSettingsPage,
                                 bool pageLimitsDepth)
{
    ImageInfo info = ImageInfo::forFilm(std::max(screen.width / 2, 457), std::max(screen.height / 2, 285),
                                        filmDepthFor(screen.bitsPerPixel));
    info.mask |= ImageInfo::HasName;
    info.name = loadString(IDS_UNTITLED);
    const bool userDefault = settings.getInt("Settings", "UserDefaultFilm", 0) != 0;
    const bool limitDepth = settings.getInt("Settings", "LimitDepth", 1) != 0;
    if (limitDepth || (forSettingsPage && pageLimitsDepth))
        info.bitsPerPixel = std::min(info.bitsPerPixel, 8);
    if (userDefault || forSettingsPage) {
        info.width = settings.getInt("Default", "Width", info.width);
        info.height = settings.getInt("Default", "Height", info.height);
        info.bitsPerPixel = settings.getInt("Default", "Depth", info.bitsPerPixel);
        info.compressed = settings.getInt("Default", "Compressed", info.compressed) != 0 ? 1 : 0;
    }
    // Hand-edited settings outside what a film can be fall back to what was computed.
    info.width = std::clamp(info.width, 2, 1998);
    info.height = std::clamp(info.height, 2, 1998);
    if (filmDepthFor(info.bitsPerPixel) != info.bitsPerPixel)
        info.bitsPerPixel = filmDepthFor(info.bitsPerPixel);
    return info;
}

} // namespace celvane
