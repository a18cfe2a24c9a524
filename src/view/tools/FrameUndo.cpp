#include "view/tools/FrameUndo.h"

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "view/tools/ToolHost.h"

namespace celvane {

namespace {
constexpr uint32_t kUndoneOrRestored = Hint::UndoTaken | Hint::FrameRect;
}

void FrameUndo::take(bool notify)
{
    const Sprite& frame = host_.frame();
    if (image_.empty() || image_.width() != frame.width() || image_.height() != frame.height()
        || image_.bitsPerPixel() != frame.bitsPerPixel())
        image_.create(frame.width(), frame.height(), frame.logicalWidth(), frame.logicalHeight(),
                      frame.bitsPerPixel(), frame.palette());
    image_.copyPixelsFrom(frame);
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
    afterChange_ = false;
    frameChanged_ = false;
    changedBefore_ = false;
}

void FrameUndo::syncModified()
{
    Film* film = host_.document().film();
    if (!film)
        return;
    if (frameChanged_) {
        film->markCurrentModified();
    } else {
        // The frame holds what it had when it became current: decoding it again says so to
        // the film, whose modified state is then its own.
        film->discardEdits();
    }
}

void FrameUndo::announce()
{
    const ChangeRecord change{{}, true};
    host_.document().updateAllViews(nullptr, kUndoneOrRestored, &change);
}

} // namespace celvane
