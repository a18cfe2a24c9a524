#pragma once
// The paint can: pours the colour into the area under it, over every area of that colour, or
// over the paper colour inside a dragged rectangle.

#include "view/tools/FloodFill.h"
#include "view/tools/Tool.h"

namespace celvane {

class FloodFillTool : public Tool {
public:
    enum Mode : int { AreaUnderCan = 0, SameColour = 1, PaperRectangle = 2 };

    FloodFillTool();
    int mode() const { return mode_; }
    void setMode(int mode);

    ToolCursor cursor() const override { return ToolCursor::PaintCan; }
    void apply(ToolApply& a) override;
    bool redrawsPreview() const override { return true; }

private:
    int mode_ = AreaUnderCan;
    FloodFill fill_;
};

} // namespace celvane
