#pragma once
// The description a new film is made from: half the screen (at least 457 x 285) at the
// screen's depth, capped at 256 colours unless the teacher says otherwise, or the teacher's own
// default film from the settings.

#include "film/Graphic.h"
#include "film/ImageInfo.h"

namespace celvane {

class Settings;

// The sides a new film may have, in pixels.
constexpr int kMinFilmSide = 2;
constexpr int kMaxFilmSide = 1998;

struct ScreenInfo {
    int width = 1024;
    int height = 768;
    int bitsPerPixel = 32;
};

// `forSettingsPage` builds the description the Default Film page shows: limited as that page
// asks and always with the stored values.
ImageInfo defaultFilmDescription(const ScreenInfo& screen, const Settings& settings, bool forSettingsPage = false,
                                 bool pageLimitsDepth = false);
// The speed of new films, and of films whose file names none: ms a frame.
int defaultFilmPeriod(const Settings& settings);

} // namespace celvane
