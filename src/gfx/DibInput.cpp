#include "gfx/DibInput.h"

#include <algorithm>
#include <cstring>

#include "gfx/Colour.h"
#include "gfx/DibLayout.h"

namespace celvane {

namespace {

// The same channel masks with red and blue exchanged: the platform's usual layout.
constexpr uint32_t kPlatformMasks16[3] = {kMasks16[2], kMasks16[1], kMasks16[0]};
constexpr uint32_t kPlatformMasks32[3] = {kMasks32[2], kMasks32[1], kMasks32[0]};

uint16_t swapRedBlue16(uint16_t v) { return uint16_t(((v & 0x1F) << 10) | (v & 0x3E0) | ((v >> 10) & 0x1F)); }
uint32_t swapRedBlue32(uint32_t v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); }

} // namespace

DibInput::DibInput(ByteSpan headerAndTable, ByteSpan pixels)
{
    ByteReader header(headerAndTable);
    const uint32_t headerSize = header.u32();
    if (headerSize != kInfoHeaderSize)
        throw NotSupportedError("bitmap header of " + std::to_string(headerSize) + " bytes");
    const int32_t width = header.i32();
    const int32_t height = header.i32();
    const uint16_t planes = header.u16();
    bits_ = header.u16();
    const uint32_t compression = header.u32();
    header.skip(4); // image size: recomputed, writers disagree about it
    const int32_t pixelsPerMetreX = header.i32();
    const int32_t pixelsPerMetreY = header.i32();
    const uint32_t coloursUsed = header.u32();
    header.skip(4); // colours important

    if (planes != 1)
        throw ArchiveError("bitmap with " + std::to_string(planes) + " planes");
    if (!isSpriteDepth(bits_))
        throw ArchiveError("bitmap of " + std::to_string(bits_) + " bits per pixel");
    const int64_t rows = height < 0 ? -int64_t(height) : height;
    if (width <= 0 || width > kMaxSpriteSide || rows == 0 || rows > kMaxSpriteSide)
        throw ArchiveError("bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    width_ = width;
    height_ = int(rows);
    topDown_ = height < 0;

    const size_t imageSize = size_t(rowStride(bits_, width_)) * size_t(height_);
    if (imageSize > kMaxImageBytes)
        throw MemoryError("bitmap too large");
    readLayout(header, compression);
    if (isPaletteDepth(bits_))
        readColourTable(header, coloursUsed);
    if (pixels.size() < imageSize)
        throw ArchiveError("bitmap pixels cut short");
    pixels_ = pixels.first(imageSize);

    // Differing densities carry rectangular pixels; equal ones are only a resolution. Densities
    // that give a size we could not show are ignored.
    logicalWidth_ = width_;
    logicalHeight_ = height_;
    if (pixelsPerMetreX > 0 && pixelsPerMetreY > 0 && pixelsPerMetreX != pixelsPerMetreY) {
        const int w = logicalSizeFor(width_, pixelsPerMetreX);
        const int h = logicalSizeFor(height_, pixelsPerMetreY);
        if (w >= 1 && w <= kMaxSpriteSide && h >= 1 && h <= kMaxSpriteSide) {
            logicalWidth_ = w;
            logicalHeight_ = h;
        }
    }
}

void DibInput::readLayout(ByteReader& header, uint32_t compression)
{
    if (isPaletteDepth(bits_)) {
        if (compression != kCompressionNone)
            throw NotSupportedError("compressed bitmap");
        return;
    }
    if (compression == kCompressionNone) {
        swapRedBlue_ = true;
        return;
    }
    if (compression != kCompressionBitFields)
        throw NotSupportedError("compressed bitmap");
    uint32_t masks[3];
    for (uint32_t& mask : masks)
        mask = header.u32();
    const uint32_t* ours = bits_ == 16 ? kMasks16 : kMasks32;
    const uint32_t* platform = bits_ == 16 ? kPlatformMasks16 : kPlatformMasks32;
    if (std::equal(masks, masks + 3, platform))
        swapRedBlue_ = true;
    else if (!std::equal(masks, masks + 3, ours))
        throw NotSupportedError("bitmap channel masks");
}

void DibInput::readColourTable(ByteReader& header, uint32_t coloursUsed)
{
    const uint32_t entries = 1u << bits_;
    if (coloursUsed > entries)
        throw ArchiveError("colour table of " + std::to_string(coloursUsed) + " entries");
    const ByteSpan table = header.bytes(4 * size_t(coloursUsed ? coloursUsed : entries));
    colours_.assign(entries, 0);
    for (size_t i = 0; i < table.size() / 4; ++i)
        colours_[i] = rgbToColourWord(rgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]));
}

void DibInput::copyPixels(uint8_t* dest) const
{
    const size_t stride = size_t(rowStride(bits_, width_));
    for (int row = 0; row < height_; ++row) {
        const uint8_t* from = pixels_.data() + stride * size_t(row);
        uint8_t* to = dest + stride * size_t(topDown_ ? height_ - 1 - row : row);
        if (!swapRedBlue_) {
            std::memcpy(to, from, stride);
        } else if (bits_ == 16) {
            for (int x = 0; x < width_; ++x)
                storeLE16(to + 2 * x, swapRedBlue16(loadLE16(from + 2 * x)));
        } else {
            for (int x = 0; x < width_; ++x)
                storeLE32(to + 4 * x, swapRedBlue32(loadLE32(from + 4 * x)));
        }
    }
}

} // namespace celvane
