#pragma once
// A film window's way back through what was done to the film: the steps from the oldest the
// limits keep to the newest. Each step can swap the film between its state before and after the
// change, keeping the state it leaves, so that undoing and redoing a step are the same swap run
// from either side. The painting and paper colours chosen are no part of any step: a swap leaves
// them as they are. One place in the history may be marked clean, where the film is as saved.

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

namespace celvane {

class Film;
class Settings;

class UndoStep {
public:
    explicit UndoStep(std::string name) : name_(std::move(name)) {}
    virtual ~UndoStep() = default;

    // What the step did, as the Edit menu names it ("Pencil", "Delete Frame").
    const std::string& name() const { return name_; }
    // The frame the step changes, made current before it swaps; -1 when it changes no one frame.
    virtual int frame() const = 0;
    // Frames come and go or are read anew with the step, so whatever is shown must follow.
    virtual bool movesFrames() const { return false; }
    // Puts the film in the step's other state and keeps the one it leaves. Returns the frame to
    // show. Throws, leaving the film as it was, when the film no longer fits the step.
    virtual int swap(Film& film) = 0;
    // The memory the step holds.
    virtual size_t bytes() const = 0;

private:
    std::string name_;
};

struct UndoLimits {
    static constexpr int kMaxSteps = 10000, kMaxMegabytes = 4096;
    int steps = 100;
    size_t bytes = size_t(64) << 20;

    // As the Choices keep them: "UndoSteps", and "UndoMemory" in megabytes.
    static UndoLimits load(const Settings& settings);
    void save(Settings& settings) const;
};

class UndoHistory {
public:
    // Drops the oldest steps beyond the new limits.
    void setLimits(UndoLimits limits);
    const UndoLimits& limits() const { return limits_; }

    // A change just made: what could be redone goes, and the oldest steps beyond the limits.
    void push(std::unique_ptr<UndoStep> step);
    // A change already taken back, which Redo makes again: the whole history is only this step.
    void pushUndone(std::unique_ptr<UndoStep> step);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The steps Undo and Redo would take, or null.
    const UndoStep* nextUndo() const { return canUndo() ? steps_[done_ - 1].get() : nullptr; }
    const UndoStep* nextRedo() const { return canRedo() ? steps_[done_].get() : nullptr; }
    // Swap the film back or forward one step; return the frame to show. A step that throws is
    // dropped with the whole history, since the film no longer matches it.
    int undo(Film& film);
    int redo(Film& film);

    // Forgets every step, and where the history was clean: the film has changed without them.
    void clear();
    size_t size() const { return steps_.size(); }
    size_t bytes() const { return bytes_; }

    // The film is as saved at the history's place now.
    void setClean() { clean_ = done_; }
    // Undo and redo have come back to the place marked clean; false once the steps that lead
    // there are gone.
    bool isClean() const { return clean_ == done_; }

private:
    static constexpr size_t kNowhere = size_t(-1);
    int swap(Film& film, UndoStep& step);
    void dropFront();
    void dropBack();
    void trim();

    UndoLimits limits_;
    std::deque<std::unique_ptr<UndoStep>> steps_; // oldest first
    size_t done_ = 0;                             // steps_[0, done_) can be undone, the rest redone
    size_t bytes_ = 0;
    size_t clean_ = kNowhere; // the value of done_ where the film is as saved
};

} // namespace celvane
