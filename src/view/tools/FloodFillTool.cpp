#include "view/tools/FloodFillTool.h"

#include <algorithm>

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Sprite.h"
#include "view/ActionSoundHook.h"
#include "view/tools/ToolEngine.h"

namespace celvane {

using namespace ToolFlag;

FloodFillTool::FloodFillTool() : Tool(0) { setMode(AreaUnderCan); }

void FloodFillTool::setMode(int mode)
{
    mode_ = std::clamp(mode, 0, 2);
    setBaseFlags(Provisional | ActsWithoutAnchor | ChangesFrame | UndoEveryPress | EndOnRelease | DrawsOnFrame
                 | (mode_ == PaperRectangle ? Drag : 0u));
}

void FloodFillTool::apply(ToolApply& a)
{
    // Paint is poured when the button comes up, where it comes up.
    if (!a.final)
        return;
    Sprite& image = a.image;
    const uint32_t pour = image.pixelValueOf(a.colour);
    const Rect whole{0, 0, image.width(), image.height()};
    Rect changed;
    if (mode_ == PaperRectangle) {
        const auto anchor = a.engine.anchor();
        const Film* film = a.host.document().film();
        if (!anchor || !film)
            return;
        const Rect r{std::min(anchor->x, a.at.x), std::min(anchor->y, a.at.y), std::max(anchor->x, a.at.x),
                     std::max(anchor->y, a.at.y)};
        changed = FloodFill::within(image, r, image.pixelValueOf(film->paper()), pour);
        if (!changed.isEmpty())
            changed = r;
    } else {
        if (a.at.x >= image.width() || a.at.y >= image.height())
            return;
        const uint32_t under = image.pixelAt(a.at.x, a.at.y);
        changed = mode_ == AreaUnderCan ? fill_.area(image, a.at, pour) : FloodFill::everywhere(image, under, pour);
        if (!changed.isEmpty())
            changed = whole;
    }
    ActionSounds::play("Filling");
    a.addChanged(changed);
}

} // namespace celvane
