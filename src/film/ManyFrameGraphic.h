#pragma once
// A graphic of many frames read from another program's file (a GIF, a sprite file): which of its
// frames are selected is kept one mark a frame.

#include "film/FrameSelection.h"
#include "film/Graphic.h"

namespace celvane {

class ManyFrameGraphic : public Graphic {
public:
    int countSelectedFrames() const override { return selection_.count(); }
    void setFrameSelected(int frame, bool on) override { selection_.set(frame, on); }
    bool isFrameSelected(int frame) const override { return selection_.isSelected(frame); }
    // Such files are only read. In a stamp file each frame is kept as the bitmap it shows, so
    // that a set holding one can still be saved, copied and dragged; other kinds are refused.
    size_t save(ByteWriter* out, int fileType, bool selectionOnly) override;

protected:
    // Reset by loading and clearing, its marks erased with the frames they go with.
    FrameSelection selection_;
};

} // namespace celvane
