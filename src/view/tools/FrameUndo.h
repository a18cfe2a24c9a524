#pragma once
// One window's way back: a single undo image swapped with the frame, so that undo and redo are
// the two directions of one swap, and the frame as it was made current, for Restore. Both are
// held here: the film's stored copy changes whenever the frame is stored (saving, copying).
// The history belongs to the current frame and goes when another frame becomes current.

#include "gfx/Sprite.h"

namespace celvane {

class ToolHost;

class FrameUndo {
public:
    explicit FrameUndo(ToolHost& host) : host_(host) {}

    bool canUndo() const { return !image_.empty() && afterChange_; }
    bool canRedo() const { return !image_.empty() && !afterChange_; }
    bool canRestore() const { return frameChanged_; }

    // Called before every change to the frame; `notify` tells every window (Hint::UndoTaken).
    void take(bool notify);
    // Undo and redo alike.
    void swap();
    // Back to the content the frame had when it became current.
    void restore();
    // The whole frame in the paper colour.
    void blank();
    // Another frame became current.
    void drop();

private:
    // The film's modified state follows the frame after a swap or a restore.
    void syncModified();
    void announce();

    ToolHost& host_;
    Sprite image_;
    Sprite original_;
    bool afterChange_ = false;
    bool frameChanged_ = false;
    bool changedBefore_ = false;
};

} // namespace celvane
