#pragma once
// A graphic of one picture (a bitmap, a vector picture): its one frame is selected or not.

#include "film/Graphic.h"

namespace celvane {

class OneFrameGraphic : public Graphic {
public:
    int countSelectedFrames() const override { return selected_ ? 1 : 0; }
    void setFrameSelected(int frame, bool on) override
    {
        if (frame == 0)
            selected_ = on;
    }
    bool isFrameSelected(int frame) const override { return frame == 0 && selected_; }

protected:
    bool selected_ = false;
};

} // namespace celvane
