#pragma once
// Places the stamp picker's current stamp on the frame: centred on the pointer, or sized by
// dragging a corner (Shift), or turned to face the pointer (Ctrl). The stamp follows the
// pointer while the button is held and lands where it comes up; one undo step takes it off.

#include "stamps/StampPlacement.h"
#include "view/tools/Tool.h"

namespace celvane {

class StampPickerModel;

class StampTool : public Tool {
public:
    StampTool();
    // The picker whose stamps are placed; none places nothing.
    void setPicker(StampPickerModel* picker) { picker_ = picker; }

    ToolCursor cursor() const override;
    void press(const ToolEvent& e) override;
    void apply(ToolApply& a) override;
    bool redrawsPreview() const override { return true; }
    void operationEnded() override { mode_ = StampPlaceMode::Plain; }

protected:
    StampPickerModel* picker() const { return picker_; }

private:
    StampPickerModel* picker_ = nullptr;
    StampPlaceMode mode_ = StampPlaceMode::Plain;
    StampPlacer placer_;
    int stamp_ = -1;
};

} // namespace celvane
