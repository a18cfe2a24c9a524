#pragma once
// Copies a dragged rectangle of the frame into a new frame after the current one, at the same
// place. The last rectangle can be taken again ("Repeat last", Ctrl+R) in the window it came
// from while that window lives.

#include <functional>

#include "gfx/Sprite.h"
#include "view/tools/Tool.h"

namespace celvane {

class Film;

class SnapshotTool : public Tool {
public:
    // What a snapshot sent to the stamps keeps: the paper colour becomes transparent, or
    // everything but the painting colour does.
    enum Mask : int { AllButPaper = 0, PencilOnly = 1 };

    SnapshotTool();
    ToolCursor cursor() const override { return ToolCursor::Cross; }
    void apply(ToolApply& a) override;

    int mask() const { return mask_; }
    void setMask(int mask) { mask_ = mask == PencilOnly ? PencilOnly : AllButPaper; }
    bool toStamps() const { return toStamps_; }
    void setToStamps(bool on) { toStamps_ = on; }
    // Where snapshots sent to the stamps go: the picture, its transparent parts marked.
    std::function<void(Sprite&&)> sendToStamps;

    bool canRepeat() const { return last_ != nullptr && !lastRect_.isEmpty(); }
    // False when there is nothing to repeat.
    bool repeatLast();
    // The window has gone; its rectangle can no longer be repeated.
    void forget(const ToolEngine* engine);

private:
    void take(ToolEngine& engine, const Rect& r);
    // The picture with its transparent parts marked as the mask setting says.
    Sprite masked(Sprite picture, const Film& film) const;

    int mask_ = AllButPaper;
    bool toStamps_ = false;
    ToolEngine* last_ = nullptr;
    Rect lastRect_;
};

} // namespace celvane
