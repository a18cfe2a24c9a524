#pragma once
// What surrounds the frame while a drawing tool is current: a 1-pixel outline just outside the
// frame and a 4-pixel drop shadow, the outline moved 4 pixels right and down, showing below and
// to the right of it.

#include "gfx/Rect.h"

namespace celvane {

struct FrameSurround {
    Rect outline;      // its edge pixels are drawn
    Rect shadowRight;  // filled
    Rect shadowBottom; // filled

    static FrameSurround around(const Rect& frame)
    {
        FrameSurround s;
        s.outline = {frame.left - 1, frame.top - 1, frame.right + 1, frame.bottom + 1};
        const Rect shadow = s.outline.translated(4, 4);
        s.shadowRight = {s.outline.right, shadow.top, shadow.right, shadow.bottom};
        s.shadowBottom = {shadow.left, s.outline.bottom, s.outline.right, shadow.bottom};
        return s;
    }
};

} // namespace celvane
