#include "film/UndoHistory.h"

#include <algorithm>

#include "base/Settings.h"
#include "film/Film.h"

namespace celvane {

UndoLimits UndoLimits::load(const Settings& settings)
{
    const UndoLimits defaults;
    UndoLimits limits;
    limits.steps = settings.getInt("Settings", "UndoSteps", defaults.steps, 1, kMaxSteps);
    limits.bytes = size_t(settings.getInt("Settings", "UndoMemory", int(defaults.bytes >> 20), 1, kMaxMegabytes)) << 20;
    return limits;
}

void UndoLimits::save(Settings& settings) const
{
    settings.writeInt("Settings", "UndoSteps", steps);
    settings.writeInt("Settings", "UndoMemory", int(bytes >> 20));
}

void UndoHistory::setLimits(UndoLimits limits)
{
    limits_ = limits;
    limits_.steps = std::max(limits_.steps, 1);
    trim();
}

void UndoHistory::push(std::unique_ptr<UndoStep> step)
{
    while (steps_.size() > done_)
        dropBack();
    bytes_ += step->bytes();
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    trim();
}

void UndoHistory::pushUndone(std::unique_ptr<UndoStep> step)
{
    clear();
    bytes_ = step->bytes();
    steps_.push_back(std::move(step));
}

int UndoHistory::undo(Film& film)
{
    if (!canUndo())
        return -1;
    const int frame = swap(film, *steps_[done_ - 1]);
    --done_;
    trim();
    return frame;
}

int UndoHistory::redo(Film& film)
{
    if (!canRedo())
        return -1;
    const int frame = swap(film, *steps_[done_]);
    ++done_;
    trim();
    return frame;
}

int UndoHistory::swap(Film& film, UndoStep& step)
{
    const size_t before = step.bytes();
    const PaintingChoice chosen = film.paintingChoice();
    try {
        const int frame = step.swap(film);
        film.setPaintingChoice(chosen);
        bytes_ = bytes_ - before + step.bytes();
        return frame;
    } catch (...) {
        clear();
        throw;
    }
}

void UndoHistory::clear()
{
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
    clean_ = kNowhere;
}

void UndoHistory::dropFront()
{
    bytes_ -= steps_.front()->bytes();
    steps_.pop_front();
    --done_;
    clean_ = clean_ == 0 || clean_ == kNowhere ? kNowhere : clean_ - 1;
}

void UndoHistory::dropBack()
{
    bytes_ -= steps_.back()->bytes();
    steps_.pop_back();
    if (clean_ != kNowhere && clean_ > steps_.size())
        clean_ = kNowhere;
}

// The oldest step that can be undone goes first, then the step furthest to redo. The step Undo
// would take next stays whatever it holds, so that the last thing done can always be taken back.
void UndoHistory::trim()
{
    while (steps_.size() > 1 && (steps_.size() > size_t(limits_.steps) || bytes_ > limits_.bytes)) {
        if (done_ > 1)
            dropFront();
        else
            dropBack();
    }
}

} // namespace celvane
