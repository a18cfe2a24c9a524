#pragma once
// The animation store: composed frames kept LZW-packed in memory (raw form), one byte per
// pixel, each with its palette shared between frames that have the same colours, and an
// optional mask. A GIF is read into one; the common-palette pass then gives as many frames as
// possible one palette, which is what a film needs.

#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

// Palette entries as colour words: 0xBBGGRR00.
using GifColours = std::vector<uint32_t>;
using GifPalette = std::shared_ptr<const GifColours>;

// Hands out one shared palette per distinct list of entries.
class GifPalettePool {
public:
    // Out of memory: "Out of memory (palcreate)".
    GifPalette make(const GifColours& entries);

private:
    std::vector<std::weak_ptr<const GifColours>> nodes_;
};

// Maps colours onto a palette of at most 256 entries: what frames of more colours than a
// palette holds go through.
class ColourReducer {
public:
    virtual ~ColourReducer() = default;
    virtual int indexOf(uint32_t colourWord) = 0;
    virtual const GifColours& palette() const = 0;
    // A whole picture of RGB values 0x00BBGGRR, rows top down, one index a pixel; by default
    // colour by colour.
    virtual void reduce(const uint32_t* colours, int width, int height, uint8_t* out);
};

struct AnimationFrame {
    GifPalette palette;
    Bytes pixels; // packed
    Bytes mask;   // packed; empty when every pixel is opaque
    int delay = 0; // hundredths of a second
    // Palette slots that opaque pixels use.
    std::bitset<256> used;
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

    // Pixels and mask (0xFF opaque) of a frame, width x height bytes each, rows top down.
    void unpack(const AnimationFrame& frame, uint8_t* pixels, uint8_t* mask) const;
    void unpackPixels(const AnimationFrame& frame, uint8_t* pixels) const;
    void unpackMask(const AnimationFrame& frame, uint8_t* mask) const;

    // Moves every frame whose colours still fit onto one common palette of at most 256
    // entries; frames that would overflow it keep their own. Out of memory: "Out of memory
    // (commonpal)".
    void makeCommonPalette();
    // The common palette's entry kept free for transparent pixels, or -1.
    int transparentIndex() const { return transparentIndex_; }
    const GifPalette& commonPalette() const { return common_; }

private:
    size_t area() const { return size_t(width_) * size_t(height_); }
    Bytes pack(const uint8_t* bytes);
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
};

} // namespace celvane
