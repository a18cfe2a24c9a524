#include "film/FrameSelection.h"

#include <algorithm>

namespace celvane {

void FrameSelection::reset(int frames) { marks_.assign(size_t(std::max(frames, 0)), false); }

int FrameSelection::count() const { return int(std::count(marks_.begin(), marks_.end(), true)); }

void FrameSelection::set(int frame, bool on)
{
    if (inRange(frame))
        marks_[size_t(frame)] = on;
}

bool FrameSelection::isSelected(int frame) const { return inRange(frame) && marks_[size_t(frame)]; }

void FrameSelection::erase(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, int(marks_.size()) - 1);
    if (first <= last)
        marks_.erase(marks_.begin() + first, marks_.begin() + last + 1);
}

} // namespace celvane
