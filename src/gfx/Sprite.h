#pragma once
// The in-memory bitmap: frames, stamps, imported pictures, masks and scratch images. Laid out
// as a DIB (DibLayout.h) so that the same bytes serve display, files and the plotters. Palette
// depths (1/4/8 bits) share a reference-counted Palette; a sprite may also carry a transparent
// colour and a 1-bit mask sprite.
//
// Sprites move but do not copy: images are large, and every copy should be a visible
// create + copyPixelsFrom.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/ByteIO.h"
#include "base/LargeMemory.h"
#include "gfx/Palette.h"
#include "gfx/Rect.h"
#include "gfx/PlotRequest.h"

namespace celvane {

enum class SpriteWriteKind {
    Bitmap,    // header, colour table, image
    FilmChunk, // the same in a tagged chunk, with the transparent colour or the mask after it
};

class Sprite {
public:
    Sprite() = default;
    Sprite(Sprite&& other) noexcept;
    Sprite& operator=(Sprite&& other) noexcept;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;
    ~Sprite() = default;

    // A sprite of 1, 4, 8, 16 or 32 bits with zeroed pixels. A width or height of 0 is taken as
    // 1; a logical size of 0 as the pixel size. Without a palette one with the depth's default
    // is made (16 and 32 bits carry the 256-entry default too). NotSupportedError for another
    // depth, MemoryError for sizes past 32767 or an image past 256 MiB. On failure the sprite
    // is left as it was.
    void create(int width, int height, int logicalWidth, int logicalHeight, int bitsPerPixel,
                PaletteRef palette = {});
    // A copy of a DIB: the 40-byte information header with its colour table (or channel masks),
    // and the pixels. Top-down rows are turned bottom-up, the platform's red-high 16/32-bit
    // layouts converted to ours. Without a palette one is made from the colour table (empty at
    // 16/32 bits). Unequal pixels-per-metre fields give the logical size. Errors as DibInput;
    // on failure the sprite is left as it was.
    void createFromDib(ByteSpan headerAndTable, ByteSpan pixels, PaletteRef palette = {});
    // Releases storage, palette, mask and transparent colour.
    void reset();
    bool empty() const { return bits_ == 0; }

    int width() const { return width_; }
    int height() const { return height_; }
    int logicalWidth() const { return logicalWidth_; }
    int logicalHeight() const { return logicalHeight_; }
    int bitsPerPixel() const { return bits_; }
    int usedBytesPerRow() const { return usedBytes_; }
    int stride() const { return stride_; }
    size_t imageSize() const { return imageSize_; }
    // 2^bits at palette depths, 3 (the masks) at 16/32 bits.
    int colourTableEntries() const { return tableEntries_; }

    // The 40-byte header followed by the colour table or masks (see updateColourTable).
    ByteSpan headerAndTable() const { return header_; }
    // The image, bottom row first.
    uint8_t* pixels() { return reinterpret_cast<uint8_t*>(pixels_.data()); }
    const uint8_t* pixels() const { return reinterpret_cast<const uint8_t*>(pixels_.data()); }
    // Start of picture row y (0 = top); not checked.
    uint8_t* rowAddress(int y) { return pixels() + size_t(stride_) * size_t(height_ - 1 - y); }
    const uint8_t* rowAddress(int y) const { return pixels() + size_t(stride_) * size_t(height_ - 1 - y); }
    // The byte holding pixel (x, y) in pixel coordinates; not checked.
    uint8_t* pixelAddress(int x, int y) { return rowAddress(y) + size_t(x) * size_t(bits_) / 8; }

    const PaletteRef& palette() const { return palette_; }
    // Copies the palette into the header's colour table when the palette's change stamp has
    // moved on; palette depths only. The table is a cache of the palette, hence const.
    void updateColourTable() const;

    void setTransparentColour(uint32_t colourWord, bool masked);
    bool hasTransparentColour() const { return hasTransparent_; }
    uint32_t transparentColour() const { return transparent_; }
    // The transparent colour is drawn as an ordinary colour unless a plot asks otherwise.
    bool solid() const { return solid_; }

    Sprite* mask() { return mask_.get(); }
    const Sprite* mask() const { return mask_.get(); }
    // The mask, made if missing: 1 bit, same pixel and logical size, black/white palette.
    // NotSupportedError on an empty sprite.
    Sprite& ensureMask();
    // Mask bits 1 where the pixel differs from `pixel` (opaque), 0 where it equals it; with
    // merge the new bits are ORed into the mask. Makes the sprite masked (not solid).
    void buildMaskFromKey(uint32_t pixel, bool merge);

    // Colour conversions (representations in Colour.h).
    uint32_t pixelValueOf(uint32_t colourWord) const;
    uint32_t colourWordOf(uint32_t pixel) const;
    // The colour the sprite can show nearest to an RGB value, as a colour word.
    uint32_t nearestColourWord(uint32_t rgbValue) const;
    uint32_t pixelValueForRgb(uint32_t rgbValue) const;
    // The pixel value repeated across a 32-bit word.
    uint32_t replicate(uint32_t pixel) const;

    // Every 32-bit word of the image, padding included.
    void fillWord(uint32_t word);
    void fillPixel(uint32_t pixel) { fillWord(replicate(pixel)); }
    void fillColour(uint32_t colourWord) { fillPixel(pixelValueOf(colourWord)); }

    // These need a sprite of the same width, height and depth (NotSupportedError otherwise).
    void copyPixelsFrom(const Sprite& other);
    void swapPixelsWith(Sprite& other);
    // A rectangle (pixel coordinates) of a sprite of the same size and depth, whole bytes at a
    // time (NotSupportedError otherwise).
    void copyAreaFrom(const Sprite& other, const Rect& area);
    // Memory rows 0, 2, 4, ... (the bottom row and every second one above it).
    void copyAlternateRowsFrom(const Sprite& other);

    // The pixel value at logical coordinates; outside the sprite, the nearest edge pixel.
    uint32_t readPixel(int x, int y) const;
    // The pixel value at pixel coordinates (0, 0 = top left), and setting it; not checked.
    uint32_t pixelAt(int x, int y) const;
    void setPixelAt(int x, int y, uint32_t pixel);

    // Writes the serialised sprite (a BMP body, with its 14-byte file header if asked) and
    // returns the byte count; with no writer only counts. NotSupportedError when empty.
    size_t write(ByteWriter* out, SpriteWriteKind kind, bool withFileHeader) const;

    // Draws this sprite onto a sprite or a drawing context: 1 when drawn or there was nothing to
    // draw, 0 after a copy by the context, the flags when a masked or single-colour plot needs
    // a destination sprite. Plot*.cpp.
    int plot(const PlotRequest& request) const;

    // Called before a sprite's pixels go away or change hands (reset, create, moves and
    // destruction), so that a drawing surface on them can let go first. Set by the platform
    // layer, which owns the surfaces.
    static inline void (*beforeStorageChange)(const Sprite&) = nullptr;

private:
    void build(int width, int height, int logicalWidth, int logicalHeight, int bits, PaletteRef palette);
    void requireSameGeometry(const Sprite& other) const;
    size_t bitmapSize(bool withFileHeader) const;
    size_t filmChunkSize(bool withFileHeader) const;
    void writeBitmap(ByteWriter& out, bool withFileHeader) const;
    void swap(Sprite& other) noexcept;

    mutable Bytes header_;
    // Words keep rows 4-byte aligned; large images get large memory.
    std::vector<uint32_t, LargeAllocator<uint32_t>> pixels_;
    PaletteRef palette_;
    mutable uint32_t colourTableStamp_ = 0;
    std::unique_ptr<Sprite> mask_;
    bool hasTransparent_ = false;
    uint32_t transparent_ = 0;
    bool solid_ = false;
    uint32_t pixelMask_ = 0;
    int width_ = 0;
    int height_ = 0;
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
    int bits_ = 0;
    int usedBytes_ = 0;
    int stride_ = 0;
    size_t imageSize_ = 0;
    int tableEntries_ = 0;
    // Runs beforeStorageChange on destruction: declared last, so it goes first, while the rest
    // of the sprite is still whole.
    struct StorageGuard {
        const Sprite* owner;
        ~StorageGuard();
    };
    StorageGuard storageGuard_{this};
};

} // namespace celvane
