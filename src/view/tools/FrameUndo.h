#pragma once
// One window's way back: the history of its changes to the film (drawing steps, frame commands
// and changes to the film's settings, each one step), the change under way, and the frame as it
// was made current, for Restore. A history of one step is the single undo image swapped with the
// frame: undo and redo are the two directions of one swap, frame commands and settings are not
// taken back, and the history goes when another frame becomes current. Longer histories keep steps across frames and take back
// frame commands too; an Undo of a step on another frame goes to that frame first.

#include <functional>
#include <memory>
#include <string>

#include "film/Film.h"
#include "film/UndoHistory.h"
#include "gfx/Sprite.h"

namespace celvane {

class Film;
class FilmChangeStep;
class ToolHost;

class FrameUndo {
public:
    explicit FrameUndo(ToolHost& host);
    ~FrameUndo();

    void setLimits(UndoLimits limits);
    const UndoHistory& history() const { return history_; }
    // More than one step: frame commands and the film's settings are taken back too.
    bool keepsHistory() const { return history_.limits().steps > 1; }

    bool canUndo() const;
    bool canRedo() const;
    bool canRestore() const { return frameChanged_; }
    // What Undo and Redo would take back or make again ("Pencil"), or "".
    std::string undoName() const;
    std::string redoName() const;

    // Called before every change to the frame, which becomes the step `name`; `notify` tells
    // every window (Hint::UndoTaken).
    void take(const std::string& name, bool notify);
    // The press that took it is over: the change becomes a step, or none when it changed
    // nothing (a click with nothing typed, a fill of what is filled already).
    void changeEnded() { settle(); }
    void undo() { step(true); }
    void redo() { step(false); }
    // Back to the content the frame had when it became current.
    void restore();
    // The whole frame in the paper colour.
    void blank();
    // Another frame became current.
    void frameChanged();
    // Around a command that changes the film's frames: the film as it was, then the change
    // made one step.
    void beforeFilmChange(const std::string& name);
    void afterFilmChange();
    // Makes `change` to the film's settings (speed, colours, transitions) the step `name`; a run
    // of changes to one setting with nothing else between them (a slider dragged) is one step.
    // Choosing the painting or paper colour changes no setting and is no step.
    void changeSettings(const std::string& name, const std::function<void()>& change);

private:
    Film* film() const;
    // The steps belong to the frames as they were numbered: frames added or deleted by anything
    // but this history's own steps leave nothing to go back to.
    bool current() const;
    void forgetIfMoved();
    // Puts the change under way into the history (after forgetting everything if the frames
    // moved).
    void settle();
    void step(bool back);
    void keepOriginal();
    // The film's modified state follows the frame after a swap or a restore.
    void syncModified();
    // Before a change: a film with nothing to save is as saved, here in the history.
    void noteIfSaved();
    // After undo, redo or a choice of colours: back where it was saved, the film is unmodified.
    void unmodifiedIfClean();
    void announce();
    void announceSettings();

    ToolHost& host_;
    UndoHistory history_;
    uint64_t frameList_ = 0; // the film's frame list version the steps belong to
    // The change under way: its frame before it, which frame, and its name.
    Sprite before_;
    int changing_ = -1;
    std::string changeName_;
    // What take() found, given back when the change comes to nothing.
    bool frameChangedBefore_ = false;
    bool modifiedBefore_ = false;
    std::unique_ptr<FilmChangeStep> filmBefore_;
    Sprite original_;
    bool frameChanged_ = false;
    PaintingChoice savedChoice_; // the colours chosen where the history is clean
};

} // namespace celvane
