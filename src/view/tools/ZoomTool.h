#pragma once
// Magnifies the window: a click zooms in (left) or out (right) around the point, a dragged
// rectangle fills the window, a double click goes between the default scale and the last one.

#include "view/tools/Tool.h"

namespace celvane {

class ZoomTool : public Tool {
public:
    ZoomTool();
    ToolCursor cursor() const override { return ToolCursor::Magnifier; }
    void apply(ToolApply& a) override;
};

} // namespace celvane
