#pragma once
// Which frames of a graphic of many frames are selected: one mark a frame, none past the end.

#include <cstddef>
#include <vector>

namespace celvane {

class FrameSelection {
public:
    // `frames` frames, none of them selected.
    void reset(int frames);
    int count() const;
    // A frame out of range is never selected; selecting it does nothing.
    void set(int frame, bool on);
    bool isSelected(int frame) const;
    // The marks of frames first ... last go with them, as far as those frames exist.
    void erase(int first, int last);

private:
    bool inRange(int frame) const { return frame >= 0 && size_t(frame) < marks_.size(); }

    std::vector<bool> marks_;
};

} // namespace celvane
