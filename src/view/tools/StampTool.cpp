#include "view/tools/StampTool.h"

#include <chrono>

#include "base/Reporter.h"
#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "stamps/StampPickerModel.h"
#include "view/ActionSoundHook.h"
#include "view/tools/ToolEngine.h"

namespace celvane {

using namespace ToolFlag;

StampTool::StampTool() : Tool(Provisional | ChangesFrame | UndoEveryPress | EndOnRelease | DrawsOnFrame | DragMinDistMoves) {}

ToolCursor StampTool::cursor() const
{
    switch (mode_) {
    case StampPlaceMode::Scale: return ToolCursor::StampScale;
    case StampPlaceMode::Rotate: return ToolCursor::StampRotate;
    default: return ToolCursor::Stamp;
    }
}

void StampTool::press(const ToolEvent& e)
{
    stamp_ = -1;
    if (!picker_ || picker_->stamps().count() == 0)
        return;
    StampSet& stamps = picker_->stamps();
    const Sprite* image = stamps.image(stamps.current());
    if (!image)
        return;
    stamp_ = stamps.current();
    mode_ = stampPlaceModeFor(e.keys & MouseKeys::Shift, e.keys & MouseKeys::Control, e.right);
    if (const auto pointer = placer_.start(mode_, e.at, image->logicalWidth(), image->logicalHeight(),
                                           stamps.transform(stamp_)))
        e.host.movePointer(*pointer);
}

void StampTool::apply(ToolApply& a)
{
    if (!picker_ || stamp_ < 0)
        return;
    StampSet& stamps = picker_->stamps();
    const Sprite* image = stamps.image(stamp_);
    if (!image)
        return;
    const PlotRequest plot = stampPlot(placer_.place(a.at), stamps.transform(stamp_), picker_->plotFlags(),
                                       rgbOfWord(a.colour), &a.image);
    if (a.final && mode_ == StampPlaceMode::Timing) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 100; ++i)
            stamps.plot(stamp_, plot);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        Reporter::message("Time for 100 plots = " + std::to_string(ms.count()));
    }
    stamps.plot(stamp_, plot);
    if (a.final)
        ActionSounds::play("Stamping");
    a.addChanged(stampChangedArea(*image, plot));
}

} // namespace celvane
