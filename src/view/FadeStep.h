#pragma once
// One step of a fade into a frame, as the window draws it: the new frame shifted by `shift`,
// drawn only inside `parts` (both in pixels of the frame's rectangle on screen, relative to its
// top-left), over whatever the window shows already.

#include <vector>

#include "view/ViewLayout.h"

namespace celvane {

struct FadeStep {
    Point shift;
    std::vector<Rect> parts;
};

} // namespace celvane
