#include "view/tools/ToolBox.h"

#include <algorithm>

#include "base/CommandIds.h"
#include "film/UpdateHint.h"
#include "view/ActionSoundHook.h"
#include "view/tools/FloodFillTool.h"
#include "view/tools/PenTool.h"
#include "view/tools/PipetteTool.h"
#include "view/tools/SnapshotTool.h"
#include "view/tools/SoundTool.h"
#include "view/tools/StampTool.h"
#include "view/tools/TextTool.h"
#include "view/tools/ToolEngine.h"
#include "view/tools/ZoomTool.h"

namespace celvane {

const char* ToolBox::stepName(int number)
{
    static constexpr const char* kNames[kCount] = {"Pencil", "Eraser", "Snapshot", "Stamp", "Pipette",
                                                   "Fill",   "Sound",  "Text",     "Zoom"};
    return number >= 0 && number < kCount ? kNames[number] : "Drawing";
}

int ToolBox::numberForCommand(int id)
{
    switch (id) {
    case ID_TOOL_PENCIL: return Pencil;
    case ID_TOOL_ERASER: return Eraser;
    case ID_TOOL_SNAPSHOT: return Snapshot;
    case ID_TOOL_STAMP: return Stamp;
    case ID_TOOL_PIPETTE: return Pipette;
    case ID_TOOL_FILL: return FloodFill;
    case ID_TOOL_SOUND: return Sound;
    case ID_TOOL_TEXT: return Text;
    case ID_TOOL_ZOOM: return Zoom;
    }
    return -1;
}

ToolBox::ToolBox()
{
    tools_[Pencil] = std::make_unique<PenTool>(false);
    tools_[Eraser] = std::make_unique<PenTool>(true);
    tools_[Snapshot] = std::make_unique<SnapshotTool>();
    tools_[Stamp] = std::make_unique<StampTool>();
    tools_[Text] = std::make_unique<TextTool>();
    tools_[Pipette] = std::make_unique<PipetteTool>();
    tools_[FloodFill] = std::make_unique<FloodFillTool>();
    tools_[Sound] = std::make_unique<SoundTool>();
    tools_[Zoom] = std::make_unique<ZoomTool>();
}

ToolBox::~ToolBox() = default;

Tool* ToolBox::tool(int number) const
{
    return number >= 0 && number < kCount ? tools_[size_t(number)].get() : nullptr;
}

PenTool& ToolBox::pencil() const { return static_cast<PenTool&>(*tools_[Pencil]); }
PenTool& ToolBox::eraser() const { return static_cast<PenTool&>(*tools_[Eraser]); }
SnapshotTool& ToolBox::snapshot() const { return static_cast<SnapshotTool&>(*tools_[Snapshot]); }
StampTool& ToolBox::stamp() const { return static_cast<StampTool&>(*tools_[Stamp]); }
TextTool& ToolBox::text() const { return static_cast<TextTool&>(*tools_[Text]); }
FloodFillTool& ToolBox::floodFill() const { return static_cast<FloodFillTool&>(*tools_[FloodFill]); }

void ToolBox::notify(uint32_t hint) const
{
    if (broadcast)
        broadcast(hint);
}

void ToolBox::addEngine(ToolEngine* engine) { engines_.push_back(engine); }

void ToolBox::removeEngine(ToolEngine* engine)
{
    std::erase(engines_, engine);
    snapshot().forget(engine);
}

void ToolBox::endOperations() const
{
    for (ToolEngine* engine : engines_)
        engine->endOperation(true);
}

ToolBox::Selected ToolBox::select(int number, bool quiet)
{
    if (number == kPrevious) {
        if (current_ != Eraser)
            return Selected::Nothing;
        number = previous_;
    }
    if (!tool(number))
        return Selected::Nothing;
    if (number == current_) {
        if (current()->busy())
            return Selected::Nothing;
        notify(Hint::MousePressed);
        return Selected::Again;
    }
    if (!quiet)
        ActionSounds::play("New tool");
    // Going back from the sound or zoom tool returns to the tool used before them.
    if (current_ != Sound && current_ != Zoom)
        previous_ = current_;
    endOperations();
    current_ = number;
    notify(Hint::ToolChanged);
    endOperations();
    if (current()->flags() & ToolFlag::Capture)
        lastDrawing_ = number;
    return Selected::Changed;
}

} // namespace celvane
