#include "view/tools/FrameUndo.h"

#include <cstring>

#include "base/Reporter.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "film/UndoSteps.h"
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

bool samePixels(const Sprite& a, const Sprite& b)
{
    return a.imageSize() == b.imageSize() && std::memcmp(a.pixels(), b.pixels(), a.imageSize()) == 0;
}
} // namespace

FrameUndo::FrameUndo(ToolHost& host) : host_(host) {}

FrameUndo::~FrameUndo() = default;

Film* FrameUndo::film() const { return host_.document().film(); }

void FrameUndo::setLimits(UndoLimits limits)
{
    // Going down to a single step leaves only what such a history can hold.
    if (limits.steps <= 1 && keepsHistory())
        history_.clear();
    history_.setLimits(limits);
}

bool FrameUndo::current() const
{
    const Film* f = film();
    return f && f->frameListVersion() == frameList_;
}

void FrameUndo::forgetIfMoved()
{
    if (current())
        return;
    history_.clear();
    changing_ = -1;
    filmBefore_.reset();
    if (const Film* f = film())
        frameList_ = f->frameListVersion();
}

bool FrameUndo::canUndo() const { return current() && (changing_ >= 0 || history_.canUndo()); }

bool FrameUndo::canRedo() const { return current() && changing_ < 0 && history_.canRedo(); }

std::string FrameUndo::undoName() const
{
    if (!canUndo())
        return {};
    return changing_ >= 0 ? changeName_ : history_.nextUndo()->name();
}

std::string FrameUndo::redoName() const { return canRedo() ? history_.nextRedo()->name() : std::string(); }

void FrameUndo::settle()
{
    forgetIfMoved();
    if (changing_ < 0)
        return;
    const int frame = std::exchange(changing_, -1);
    Film& f = *film();
    const bool shown = f.currentFrame() == frame;
    Sprite after;
    if (!shown)
        f.decodeFrameInto(frame, after);
    auto step = std::make_unique<FrameChangeStep>(changeName_, frame, before_, shown ? *f.workingImage(frame) : after);
    if (!step->area().isEmpty()) {
        history_.push(std::move(step));
        return;
    }
    // Nothing to take back: Undo keeps offering the step before, and the frame is as unchanged
    // as it was.
    if (shown) {
        frameChanged_ = frameChangedBefore_;
        if (!modifiedBefore_)
            f.currentRestored();
    }
}

void FrameUndo::keepOriginal()
{
    // Nothing has changed the frame before its first step.
    if (original_.empty())
        copyFrame(original_, host_.frame());
}

void FrameUndo::take(const std::string& name, bool notify)
{
    Film* f = film();
    if (!f)
        return;
    settle();
    noteIfSaved();
    keepOriginal();
    copyFrame(before_, host_.frame());
    changing_ = host_.currentFrame();
    changeName_ = name;
    frameChangedBefore_ = frameChanged_;
    modifiedBefore_ = f->currentModified();
    frameChanged_ = true;
    f->markCurrentModified();
    if (notify)
        host_.document().updateAllViews(nullptr, Hint::UndoTaken);
}

void FrameUndo::step(bool back)
{
    Film* f = film();
    if (!f)
        return;
    try {
        settle();
        noteIfSaved();
        const UndoStep* next = back ? history_.nextUndo() : history_.nextRedo();
        if (!next)
            return;
        if (next->movesFrames()) {
            const int shown = back ? history_.undo(*f) : history_.redo(*f);
            frameList_ = f->frameListVersion();
            original_.reset();
            frameChanged_ = false;
            unmodifiedIfClean();
            host_.framesReplaced(shown);
            return;
        }
        if (next->frame() < 0) {
            back ? history_.undo(*f) : history_.redo(*f);
            unmodifiedIfClean();
            announceSettings();
            return;
        }
        if (next->frame() != host_.currentFrame())
            host_.showFrame(next->frame());
        keepOriginal();
        back ? history_.undo(*f) : history_.redo(*f);
        frameChanged_ = !samePixels(host_.frame(), original_);
        syncModified();
        unmodifiedIfClean();
        announce();
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
}

void FrameUndo::restore()
{
    if (!film())
        return;
    settle();
    if (frameChanged_ && !original_.empty()) {
        Sprite& frame = host_.frame();
        auto edits = std::make_unique<FrameChangeStep>("Restore", host_.currentFrame(), frame, original_);
        frame.copyPixelsFrom(original_);
        // A single step is the frame's edits, which Redo gives back; a longer history takes the
        // Restore back like any other step.
        if (keepsHistory())
            history_.push(std::move(edits));
        else
            history_.pushUndone(std::move(edits));
    }
    frameChanged_ = false;
    syncModified();
    announce();
}

void FrameUndo::blank()
{
    take("Blank Frame", false);
    Sprite& frame = host_.frame();
    if (Film* f = film())
        frame.fillColour(f->paper());
    host_.refreshRect({0, 0, frame.width(), frame.height()}, false);
    announce();
}

void FrameUndo::frameChanged()
{
    if (film())
        settle();
    if (!keepsHistory())
        history_.clear();
    original_.reset();
    frameChanged_ = false;
}

void FrameUndo::beforeFilmChange(const std::string& name)
{
    filmBefore_.reset();
    Film* f = film();
    if (!f || !keepsHistory())
        return;
    settle();
    noteIfSaved();
    filmBefore_ = std::make_unique<FilmChangeStep>(name, *f);
}

void FrameUndo::afterFilmChange()
{
    // Without a step for the change, the steps before it may name frames that have moved.
    Film* f = film();
    if (filmBefore_ && f) {
        filmBefore_->changed(*f);
        history_.push(std::move(filmBefore_));
    } else {
        filmBefore_.reset();
        history_.clear();
    }
    if (f)
        frameList_ = f->frameListVersion();
    original_.reset();
    frameChanged_ = false;
}

void FrameUndo::changeSettings(const std::string& name, const std::function<void()>& change)
{
    Film* f = film();
    if (!f || !keepsHistory()) {
        change();
        return;
    }
    settle();
    noteIfSaved();
    auto step = std::make_unique<FilmSettingsStep>(name, *f);
    change();
    if (step->unchanged(*f)) {
        // Only colours chosen, perhaps those the film was saved with.
        unmodifiedIfClean();
        return;
    }
    // The step already taken holds the settings from before the whole run.
    const UndoStep* last = history_.nextUndo();
    if (!history_.canRedo() && last && last->name() == name && dynamic_cast<const FilmSettingsStep*>(last))
        return;
    history_.push(std::move(step));
}

void FrameUndo::syncModified()
{
    Film* f = film();
    if (!f)
        return;
    if (frameChanged_)
        f->markCurrentModified();
    else
        f->currentRestored();
}

void FrameUndo::noteIfSaved()
{
    if (host_.document().isModified())
        return;
    history_.setClean();
    savedChoice_ = film()->paintingChoice();
}

void FrameUndo::unmodifiedIfClean()
{
    Film* f = film();
    if (f && history_.isClean() && f->paintingChoice() == savedChoice_)
        f->markSaved();
}

void FrameUndo::announce()
{
    const ChangeRecord change{{}, true};
    host_.document().updateAllViews(nullptr, kUndoneOrRestored, &change);
}

void FrameUndo::announceSettings()
{
    host_.document().updateAllViews(nullptr, Hint::RepaintAll | Hint::PaletteRepaint | Hint::PaintingColour
                                                 | Hint::PaperColour | Hint::FilmSpeed | Hint::Motion
                                                 | Hint::UndoTaken);
}

} // namespace celvane
