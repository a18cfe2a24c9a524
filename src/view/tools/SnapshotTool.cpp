#include "view/tools/SnapshotTool.h"

#include <algorithm>

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "film/FrameEditing.h"
#include "gfx/Sprite.h"
#include "view/ActionSoundHook.h"
#include "view/tools/FrameUndo.h"
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
    last_ = &engine;
    lastRect_ = part;
    // Copied out first: a new frame takes the frame's place in the working image.
    Sprite picture;
    picture.create(part.width(), part.height(), 0, 0, frame.bitsPerPixel(), frame.palette());
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x)
            picture.setPixelAt(x - part.left, y - part.top, frame.pixelAt(x, y));
    if (toStamps_ && sendToStamps) {
        sendToStamps(masked(std::move(picture), *film));
        return;
    }
    // Drawn before the new frame is coded, so that it is stored with the snapshot on it.
    host.undo().beforeFilmChange("Snapshot");
    const int added = FrameEditing::insertAfter(*film, host.currentFrame(), false, [&](Sprite& target) {
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                target.setPixelAt(x, y, picture.pixelAt(x - part.left, y - part.top));
    });
    host.undo().afterFilmChange();
    host.framesReplaced(added);
}

Sprite SnapshotTool::masked(Sprite picture, const Film& film) const
{
    if (mask_ == AllButPaper) {
        picture.setTransparentColour(film.paper(), true);
        return picture;
    }
    // Only the painting colour stays: the mask lets through nothing else.
    const uint32_t ink = picture.pixelValueOf(film.ink());
    Sprite& mask = picture.ensureMask();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            mask.setPixelAt(x, y, picture.pixelAt(x, y) == ink ? 1 : 0);
    return picture;
}

} // namespace celvane
