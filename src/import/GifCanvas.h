#pragma once
// The full picture a GIF's images are composed on, as a browser shows them. It starts with 8-bit
// pixels and one 256-entry palette that each image's colours are merged into; when an image's
// colours no longer fit beside those still on show, it turns 32-bit for good.

#include <array>
#include <cstdint>

#include "base/ByteIO.h"
#include "import/GifAnimation.h"

namespace celvane {

// One decoded image, rows in picture order.
struct GifImage {
    Rect rect;
    const uint8_t* indices = nullptr;
    const uint8_t* table = nullptr; // RGB triples
    int tableEntries = 0;
    int transparent = -1;
};

class GifCanvas {
public:
    // Cleared to index 0, all transparent. Out of memory: "Out of memory (animfromgif)".
    GifCanvas(int width, int height);

    // Returns a rectangle to the background: transparent, or opaque in `colourWord`.
    void dispose(const Rect& rect, bool transparent, uint32_t colourWord);
    // Draws the image's opaque pixels; the rectangle must lie inside the canvas.
    void draw(const GifImage& image);

    // The picture as it stands, with what changed since the previous frame was taken.
    ComposedFrame frame(int delay);
    bool deep() const { return deep_; }

private:
    // Which slots must keep their colour: those of opaque pixels not about to be covered.
    using Slots = std::array<bool, 256>;
    // Gives each colour a slot: the first slot already holding it, else the first free one.
    // False (palette unchanged) when the slots run out.
    bool mergeColours(const uint32_t* colours, int count, const Slots& keep, uint8_t* map);
    // Every pixel becomes its colour. Out of memory: "Out of memory (gifimage32)".
    void turnDeep();
    // Draws an image on the canvas of slots; false, with nothing drawn, when its colours do not
    // fit the palette beside those that stay.
    bool drawIndexed(const GifImage& image);
    // The image's opaque pixels as slots through `map`.
    void paintSlots(const GifImage& image, const uint8_t* map);
    void drawDeep(const GifImage& image);
    size_t index(int x, int y) const { return size_t(y) * size_t(width_) + size_t(x); }
    void setIndex(size_t at, uint8_t slot);
    void setDeepMask(size_t at, bool opaque);
    void touch(const Rect& rect);

    static constexpr uint8_t kOpaque = 0xFF; // the mask is the store's as it stands

    int width_;
    int height_;
    bool deep_ = false;
    Bytes indices_;
    std::vector<uint32_t> colours_;
    Bytes mask_;
    GifColours palette_;
    // Opaque pixels holding each slot, so that an image costs its own area, not the canvas's.
    std::array<size_t, 256> slotUse_ = {};
    size_t deepOpaque_ = 0; // opaque pixels once deep, so that no frame has to count them
    Rect changed_;       // since the last frame taken
};

} // namespace celvane
