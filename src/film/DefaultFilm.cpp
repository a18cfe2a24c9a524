#include "film/DefaultFilm.h"

#include <algorithm>

#include "base/StringTable.h"
#include "base/Settings.h"

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
    const bool userDefault = settings.getFlag("Settings", "UserDefaultFilm", false);
    const bool limitDepth = settings.getFlag("Settings", "LimitDepth", true);
    if (limitDepth || (forSettingsPage && pageLimitsDepth))
        info.bitsPerPixel = std::min(info.bitsPerPixel, 8);
    if (userDefault || forSettingsPage) {
        info.width = settings.getInt("Default", "Width", info.width, kMinFilmSide, kMaxFilmSide);
        info.height = settings.getInt("Default", "Height", info.height, kMinFilmSide, kMaxFilmSide);
        info.bitsPerPixel = settings.getInt("Default", "Depth", info.bitsPerPixel, 1, 32);
        info.compressed = settings.getFlag("Default", "Compressed", info.compressed != 0) ? 1 : 0;
    }
    // A screen larger than any film gives the largest film.
    info.width = std::clamp(info.width, kMinFilmSide, kMaxFilmSide);
    info.height = std::clamp(info.height, kMinFilmSide, kMaxFilmSide);
    if (filmDepthFor(info.bitsPerPixel) != info.bitsPerPixel)
        info.bitsPerPixel = filmDepthFor(info.bitsPerPixel);
    return info;
}

int defaultFilmPeriod(const Settings& settings)
{
    return settings.getInt("Default", "PlaySpeed", kStandardFilmPeriod, 10, 1000);
}

} // namespace celvane
