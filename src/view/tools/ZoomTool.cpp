#include "view/tools/ZoomTool.h"

#include <algorithm>

#include "view/tools/ToolEngine.h"

namespace celvane {

using namespace ToolFlag;

ZoomTool::ZoomTool() : Tool(Capture | Drag | RoundAndClamp | EndOnRelease | DrawsOnFrame) {}

void ZoomTool::apply(ToolApply& a)
{
    if (a.doubleClick) {
        a.host.toggleZoom();
        return;
    }
    const auto anchor = a.engine.anchor();
    if (!a.final || !anchor)
        return;
    if (*anchor == a.at) {
        if (a.right)
            a.host.zoomOut(a.at);
        else
            a.host.zoomIn(a.at);
        return;
    }
    a.host.zoomToRect({std::min(anchor->x, a.at.x), std::min(anchor->y, a.at.y), std::max(anchor->x, a.at.x),
                       std::max(anchor->y, a.at.y)});
}

} // namespace celvane
