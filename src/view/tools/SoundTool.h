#pragma once
// The tool for putting sounds on frames. It draws nothing: while it is chosen the sound bar and
// the Sounds menu are shown, and a click on the frame plays the frame's sound.

#include "view/tools/Tool.h"

namespace celvane {

class SoundTool : public Tool {
public:
    SoundTool();
    ToolCursor cursor() const override { return ToolCursor::Arrow; }
    void apply(ToolApply& a) override;
};

} // namespace celvane
