#pragma once
// One step of a fade into a frame, as a window draws it: the new frame shifted by `shift`,
// drawn only inside `parts` (both in pixels of the frame's rectangle on screen, relative to its
// top-left), over whatever the window shows already.

#include <vector>

#include "view/FramePainter.h"
#include "view/ViewLayout.h"

namespace celvane {

struct FadeStep {
    Point shift;
    std::vector<Rect> parts;
};

// Draws `step` of `frame` shown on `frameRect`, within `area` (window pixels).
inline void paintFadeStep(FramePainter& painter, QPainter& p, const Sprite& frame, const Rect& frameRect,
                          const FadeStep& step, const Rect& area)
{
    const Rect shifted = frameRect.translated(step.shift.x, step.shift.y);
    for (const Rect& part : step.parts)
        painter.paint(p, frame, shifted, area.intersected(part.translated(frameRect.left, frameRect.top).intersected(frameRect)));
}

} // namespace celvane
