#include "view/tools/FrameUndo.h"

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "view/tools/ToolHost.h"

namespace celvane {

namespace {
constexpr uint32_t kUndoneOrRestored = Hint::UndoTaken | Hint::FrameRect;

void copyFrame(Sprite& to, const Sprite& frame)
{
    if (to.empty() || to.width() != frame.width() || to.height() != frame.height()
        || to.bitsPerPixel() != frame.bitsPerPixel())
        to.create(frame.width(), frame.height(), frame.logicalWidth(), frame.logicalHeight(), frame.bitsPerPixel(),
                  frame.palette());
    to.copyPixelsFrom(frame);
}
} // namespace

void FrameUndo::take(bool notify)
{
    const Sprite& frame = host_.frame();
    // Nothing has changed the frame before its first undo image.
    if (original_.empty())
        copyFrame(original_, frame);
    copyFrame(image_, frame);
    changedBefore_ = frameChanged_;
    if (afterChange_ && frameChanged_)
        return;
    afterChange_ = true;
    frameChanged_ = true;
    if (Film* film = host_.document().film())
        film->markCurrentModified();
    if (notify)
        host_.document().updateAllViews(nullptr, Hint::UndoTaken);
}

void FrameUndo::swap()
{
    if (image_.empty())
        return;
    image_.swapPixelsWith(host_.frame());
    afterChange_ = !afterChange_;
    frameChanged_ = afterChange_ || changedBefore_;
    syncModified();
    announce();
}

void FrameUndo::restore()
{
    if (frameChanged_) {
        take(false);
        afterChange_ = false;
        changedBefore_ = false;
        host_.frame().copyPixelsFrom(original_);
    }
    frameChanged_ = false;
    syncModified();
    announce();
}

void FrameUndo::blank()
{
    take(false);
    Sprite& frame = host_.frame();
    if (Film* film = host_.document().film())
        frame.fillColour(film->paper());
    host_.refreshRect({0, 0, frame.width(), frame.height()}, false);
    announce();
}

void FrameUndo::drop()
{
    image_.reset();
    original_.reset();
    afterChange_ = false;
    frameChanged_ = false;
    changedBefore_ = false;
}

void FrameUndo::syncModified()
{
    Film* film = host_.document().film();
    if (!film)
        return;
    if (frameChanged_)
        film->markCurrentModified();
    else
        film->currentRestored();
}

void FrameUndo::announce()
{
    const ChangeRecord change{{}, true};
    host_.document().updateAllViews(nullptr, kUndoneOrRestored, &change);
}

} // namespace celvane
