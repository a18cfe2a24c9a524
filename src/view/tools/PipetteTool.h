#pragma once
// Picks up a colour from the frame: the left button takes it as the painting colour, the right
// button as the paper colour.

#include <optional>

#include "view/tools/Tool.h"

namespace celvane {

class PipetteTool : public Tool {
public:
    PipetteTool();
    ToolCursor cursor() const override { return ToolCursor::Pipette; }
    void apply(ToolApply& a) override;
};

} // namespace celvane
