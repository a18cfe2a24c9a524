#pragma once
// The animation store: composed frames kept LZW-packed in memory (raw form), one byte per
// pixel, each with its palette shared between frames that have the same colours, and an
// optional mask. A GIF is read into one; the common-palette pass then gives as many frames as
// possible one palette, which is what a film needs.

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/ByteIO.h"
#include "export/ColourQuantizer.h"
#include "gfx/Rect.h"

namespace celvane {

using GifPalette = std::shared_ptr<const GifColours>;

// Hands out one shared palette per distinct list of entries.
class GifPalettePool {
public:
    // Out of memory: "Out of memory (palcreate)".
    GifPalette make(const GifColours& entries);

private:
    std::vector<std::weak_ptr<const GifColours>> nodes_;
};

// A frame is the frame before it with one rectangle replaced (the first: a blank canvas of
// index 0, all transparent), so that a small image on a big canvas costs its own area. A frame
// whose rectangle is the whole canvas stands alone.
struct AnimationFrame {
    GifPalette palette;
    Rect rect;    // what is packed
    Rect changed; // what differs from the frame before
    Bytes pixels; // packed, the rectangle's rows
    Bytes mask;   // packed, the rectangle's rows; empty when all of them are opaque
    bool masked = false; // some pixel of the whole frame is transparent
    int delay = 0;       // hundredths of a second
    // Palette slots that opaque pixels use.
    std::bitset<256> used;
    // Pixels are stored as the canvas held them; this maps them onto `palette` (none: as they
    // are).
    std::optional<std::array<uint8_t, 256>> map;
    int alone = -1; // the last frame up to this one that stands alone, or -1
};

// A frame as composed on a canvas, before it is packed.
struct ComposedFrame {
    int width = 0;
    int height = 0;
    // One of the two: 8-bit indices into `palette`, or 32-bit colours 0x00BBGGRR.
    const uint8_t* indices = nullptr;
    const GifColours* palette = nullptr;
    const uint32_t* colours = nullptr;
    // Of 8-bit frames: the slots that opaque pixels use.
    std::bitset<256> used;
    // 0xFF where opaque, else 0; `masked` when any pixel is transparent.
    const uint8_t* mask = nullptr;
    bool masked = false;
    int delay = 0;
    // What changed since the frame before (everything, for a first frame, is measured from a
    // blank canvas).
    Rect changed;
};

class Animation {
public:
    // Out of memory: "Out of memory (animcreate)".
    Animation(int width, int height, bool loop);

    int width() const { return width_; }
    int height() const { return height_; }
    bool loops() const { return loop_; }
    // The file ended inside an image, or its last image was damaged: the frames are those that
    // could be read.
    bool endDamaged() const { return endDamaged_; }
    void setEndDamaged() { endDamaged_ = true; }
    int frameCount() const { return int(frames_.size()); }
    const AnimationFrame& frame(int i) const { return frames_[size_t(i)]; }
    void eraseFrames(int first, int last);

    // Packs a composed frame, which must be of the animation's size; 32-bit frames need a
    // reducer ("Please choose a palette-reduction option ...").
    void addFrame(const ComposedFrame& frame, ColourReducer* reducer);

    // Pixels (through the frame's map) and mask (0xFF opaque) of frame `f`, width x height
    // bytes each, rows top down.
    void unpack(int f, uint8_t* pixels, uint8_t* mask) const;
    // Pixels as stored (before the map) and mask of frame `f`. When the buffers hold frame
    // `holding` (before `f`) as this left them, only what changed since is unpacked. Returns
    // the rectangle that may differ from what the buffers held.
    Rect unpackStored(int f, uint8_t* pixels, uint8_t* mask, int holding = -1) const;

    // Moves every frame whose colours still fit onto one common palette of at most 256
    // entries; frames that would overflow it keep their own. Out of memory: "Out of memory
    // (commonpal)".
    void makeCommonPalette();
    // The common palette's entry kept free for transparent pixels, or -1.
    int transparentIndex() const { return transparentIndex_; }
    const GifPalette& commonPalette() const { return common_; }

private:
    size_t area() const { return size_t(width_) * size_t(height_); }
    Rect whole() const { return {0, 0, width_, height_}; }
    // Packs the rectangle of a whole-canvas buffer.
    Bytes pack(const uint8_t* canvas, const Rect& rect);
    // Writes a frame's rectangle into whole-canvas buffers.
    void apply(const AnimationFrame& frame, uint8_t* pixels, uint8_t* mask) const;
    void makeAlone(int f);
    void remapFrame(AnimationFrame& frame, const uint8_t* map);

    int width_;
    int height_;
    bool loop_;
    bool endDamaged_ = false;
    std::vector<AnimationFrame> frames_;
    GifPalettePool pool_;
    GifPalette common_;
    int transparentIndex_ = -1;
    Bytes packing_; // room for the codes of one frame, kept between frames
    Bytes rows_;    // a rectangle's rows, kept between frames
    size_t sinceAlone_ = 0; // area of the rectangles since the last frame that stands alone
    bool lastDeep_ = false;
};

} // namespace celvane
