#include "view/tools/SnapshotTool.h"

#include <algorithm>
#include <vector>

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "film/FrameEditing.h"
#include "gfx/Sprite.h"
#include "view/ActionSoundHook.h"
#include "view/tools/ToolEngine.h"

namespace celvane {

using namespace ToolFlag;

SnapshotTool::SnapshotTool() : Tool(Drag | ActsWithoutAnchor | RoundAndClamp | EndOnRelease | DrawsOnFrame | SnapsToGrid) {}

void SnapshotTool::apply(ToolApply& a)
{
    const auto anchor = a.engine.anchor();
    if (!a.final || !anchor)
        return;
    // A click (no rectangle) copies nothing.
    take(a.engine, {std::min(anchor->x, a.at.x), std::min(anchor->y, a.at.y), std::max(anchor->x, a.at.x),
                    std::max(anchor->y, a.at.y)});
}

bool SnapshotTool::repeatLast()
{
    if (!canRepeat())
        return false;
    take(*last_, lastRect_);
    return true;
}

void SnapshotTool::forget(const ToolEngine* engine)
{
    if (last_ == engine)
        last_ = nullptr;
}

void SnapshotTool::take(ToolEngine& engine, const Rect& r)
{
    ToolHost& host = engine.host();
    Film* film = host.document().film();
    if (!film)
        return;
    const Sprite& frame = host.frame();
    const Rect part = r.intersected({0, 0, frame.width(), frame.height()});
    if (part.isEmpty())
        return;
    ActionSounds::play("Snap");
    // Copied out first: the new frame takes the frame's place in the working image.
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(part.right - part.left) * size_t(part.bottom - part.top));
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x)
            pixels.push_back(frame.pixelAt(x, y));
    // Drawn before the new frame is coded, so that it is stored with the snapshot on it.
    const int added = FrameEditing::insertAfter(*film, host.currentFrame(), false, [&](Sprite& target) {
        auto pixel = pixels.begin();
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                target.setPixelAt(x, y, *pixel++);
    });
    host.framesReplaced(added);
    last_ = &engine;
    lastRect_ = part;
}

} // namespace celvane
