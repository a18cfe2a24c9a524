#pragma once
// The film strip of the play tool bar, as arithmetic: numbered cells 30 pixels apart sliding
// under a fixed marker, dragged to move through the film (or to mark frames), with the pointer
// moved back from the screen's edges so a drag can go on past them.

#include <optional>

namespace celvane {

class FilmStrip {
public:
    static constexpr int kPitch = 30;
    static constexpr int kCell = 28;
    enum Mode : int { None = 0, Moving = 1, Marking = 2 };

    // The frame under the marker at a strip offset.
    static int frameAt(int offset) { return ((offset < 0 ? -offset : offset) + kPitch / 2) / kPitch; }

    int offset() const { return offset_; }
    int mode() const { return mode_; }
    int pressFrame() const { return pressFrame_; }
    int warp() const { return warp_; }

    // Shows `frame` under the marker, unless a drag is running.
    void follow(int frame);
    void press(int x, int frame, Mode mode);
    // The pointer is at `x`: the frame to show, once the pointer has moved `minDistance` from
    // the press; none before.
    std::optional<int> move(int x, int frameCount, int minDistance);
    // When `x` is at an edge of `left` ... `right` (exclusive), how far to move the pointer
    // back inward (at most half the area); the move is remembered so the offset stays put.
    int warpAtEdge(int x, int left, int right);
    // Ends the drag with `frame` current; returns the warp to undo on the pointer.
    int release(int frame);

private:
    int offset_ = 0;
    int mode_ = None;
    int pressX_ = 0;
    int pressFrame_ = 0;
    int warp_ = 0;
    bool started_ = false;
};

} // namespace celvane
