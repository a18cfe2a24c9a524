#include "gfx/DibInput.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "gfx/Colour.h"
#include "gfx/DibLayout.h"
#include "gfx/DibRle.h"

namespace celvane {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
// OS/2's second header, whose compressions 3 and 4 are not the information header's.
constexpr uint32_t kOs2HeaderSize = 64;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionAlphaBitFields = 6;

// The same channel masks with red and blue exchanged: the platform's usual layout.
constexpr uint32_t kPlatformMasks16[3] = {kMasks16[2], kMasks16[1], kMasks16[0]};
constexpr uint32_t kPlatformMasks32[3] = {kMasks32[2], kMasks32[1], kMasks32[0]};

bool isHeaderSize(uint32_t size)
{
    for (uint32_t known : {kCoreHeaderSize, 16u, 40u, 52u, 56u, kOs2HeaderSize, 108u, 124u})
        if (size == known)
            return true;
    return false;
}

bool isSourceDepth(int bits) { return isSpriteDepth(bits) || bits == 2 || bits == 24; }

uint16_t swapRedBlue16(uint16_t v) { return uint16_t(((v & 0x1F) << 10) | (v & 0x3E0) | ((v >> 10) & 0x1F)); }

} // namespace

uint8_t DibInput::Channel::level(uint32_t pixel) const
{
    const uint32_t v = (pixel & mask) >> shift;
    if (largest == 0xFF || largest == 0)
        return uint8_t(v);
    return uint8_t((uint64_t(v) * 255 + largest / 2) / largest);
}

DibInput::DibInput(ByteSpan headerAndTable, ByteSpan pixels)
{
    ByteReader header(headerAndTable);
    readHeader(header);
    if (conversion_ == Conversion::Rle) {
        pixels_ = pixels;
        return;
    }
    const size_t sourceSize = size_t(rowStride(sourceBits_, width_)) * size_t(height_);
    if (pixels.size() < sourceSize)
        throw ArchiveError("bitmap pixels cut short");
    pixels_ = pixels.first(sourceSize);
}

void DibInput::readHeader(ByteReader& header)
{
    const uint32_t headerSize = header.u32();
    if (!isHeaderSize(headerSize))
        throw NotSupportedError("bitmap header of " + std::to_string(headerSize) + " bytes");
    int32_t width, height;
    if (headerSize == kCoreHeaderSize) {
        width = header.u16();
        height = header.u16();
    } else {
        width = header.i32();
        height = header.i32();
    }
    const uint16_t planes = header.u16();
    sourceBits_ = header.u16();
    uint32_t compression = kCompressionNone;
    int32_t pixelsPerMetreX = 0, pixelsPerMetreY = 0;
    uint32_t coloursUsed = 0;
    if (headerSize >= kInfoHeaderSize) {
        compression = header.u32();
        header.skip(4); // image size: recomputed, writers disagree about it
        pixelsPerMetreX = header.i32();
        pixelsPerMetreY = header.i32();
        coloursUsed = header.u32();
    }

    if (planes != 1)
        throw ArchiveError("bitmap with " + std::to_string(planes) + " planes");
    if (!isSourceDepth(sourceBits_))
        throw ArchiveError("bitmap of " + std::to_string(sourceBits_) + " bits per pixel");
    const int64_t rows = height < 0 ? -int64_t(height) : height;
    if (width <= 0 || width > kMaxSpriteSide || rows == 0 || rows > kMaxSpriteSide)
        throw ArchiveError("bitmap of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    width_ = width;
    height_ = int(rows);
    topDown_ = height < 0;

    readLayout(header, compression, headerSize);
    if (topDown_ && conversion_ == Conversion::Rle)
        throw ArchiveError("run-length coded rows cannot run top down");
    const size_t imageSize = size_t(rowStride(bits_, width_)) * size_t(height_);
    if (imageSize > kMaxImageBytes || int64_t(width_) * height_ > kMaxPicturePixels)
        throw NotSupportedError("bitmap of " + std::to_string(width_) + " x " + std::to_string(height_)
                                + " pixels is too large");
    if (sourceBits_ <= 8)
        readColourTable(header, coloursUsed, headerSize == kCoreHeaderSize ? 3 : 4);
    else
        header.skip(std::min<size_t>(size_t(coloursUsed) * 4, header.remaining())); // a hint for displays

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

size_t DibInput::pixelOffset(ByteSpan packedDib)
{
    DibInput dib;
    ByteReader header(packedDib);
    dib.readHeader(header);
    return header.position();
}

void DibInput::readLayout(ByteReader& header, uint32_t compression, uint32_t headerSize)
{
    bits_ = sourceBits_;
    if (headerSize == kOs2HeaderSize && compression > kCompressionRle4)
        throw NotSupportedError("OS/2 bitmap compression " + std::to_string(compression));
    if (compression == kCompressionRle8 || compression == kCompressionRle4) {
        if (sourceBits_ != (compression == kCompressionRle8 ? 8 : 4))
            throw NotSupportedError("run-length coding of " + std::to_string(sourceBits_) + "-bit pixels");
        conversion_ = Conversion::Rle;
        header.seek(headerSize);
        return;
    }
    if (compression == kCompressionNone) {
        header.seek(headerSize);
        if (sourceBits_ == 2) {
            bits_ = 4;
            conversion_ = Conversion::TwoToFour;
        } else if (sourceBits_ == 16) {
            conversion_ = Conversion::Swap16;
        } else if (sourceBits_ == 24) {
            bits_ = 32;
            conversion_ = Conversion::Rgb24;
        } else if (sourceBits_ == 32) {
            useMasks(kPlatformMasks32);
        }
        return;
    }
    if (compression != kCompressionBitFields && compression != kCompressionAlphaBitFields)
        throw NotSupportedError("bitmap compression " + std::to_string(compression));
    if (sourceBits_ != 16 && sourceBits_ != 32)
        throw NotSupportedError("channel masks on " + std::to_string(sourceBits_) + "-bit pixels");
    // Masks follow the plain information header; later headers hold them at the same place.
    uint32_t masks[3];
    header.seek(kInfoHeaderSize);
    for (uint32_t& mask : masks)
        mask = header.u32();
    if (headerSize > kInfoHeaderSize)
        header.seek(headerSize);
    else if (compression == kCompressionAlphaBitFields)
        header.skip(4); // the alpha mask: sprites have no alpha
    useMasks(masks);
}

void DibInput::useMasks(const uint32_t masks[3])
{
    const uint32_t* ours = sourceBits_ == 16 ? kMasks16 : kMasks32;
    if (std::equal(masks, masks + 3, ours)) {
        conversion_ = Conversion::Copy;
        return;
    }
    if (sourceBits_ == 16 && std::equal(masks, masks + 3, kPlatformMasks16)) {
        conversion_ = Conversion::Swap16;
        return;
    }
    // Any other layout is spread over 8 bits a channel.
    bits_ = 32;
    conversion_ = Conversion::Channels;
    for (int c = 0; c < 3; ++c) {
        Channel& channel = channels_[c];
        channel.mask = masks[c];
        channel.shift = masks[c] ? std::countr_zero(masks[c]) : 0;
        channel.largest = masks[c] >> channel.shift;
        if (channel.largest & (channel.largest + 1))
            throw NotSupportedError("bitmap channel mask with gaps");
    }
}

void DibInput::readColourTable(ByteReader& header, uint32_t coloursUsed, size_t entrySize)
{
    const uint32_t entries = 1u << sourceBits_;
    if (coloursUsed > entries)
        throw ArchiveError("colour table of " + std::to_string(coloursUsed) + " entries");
    // Writers that give the pixels' offset sometimes leave the table shorter than it says.
    const size_t given = std::min<size_t>(coloursUsed ? coloursUsed : entries, header.remaining() / entrySize);
    const ByteSpan table = header.bytes(given * entrySize);
    colours_.assign(size_t(1) << bits_, 0);
    for (size_t i = 0; i < given; ++i) {
        const uint8_t* e = &table[i * entrySize];
        colours_[i] = rgbToColourWord(rgb(e[2], e[1], e[0]));
    }
}

void DibInput::copyPixels(uint8_t* dest) const
{
    if (conversion_ == Conversion::Rle)
        decodeDibRle(pixels_, sourceBits_, width_, height_, dest);
    else
        copyRows(dest, size_t(rowStride(bits_, width_)));
}

void DibInput::copyRows(uint8_t* dest, size_t destStride) const
{
    const size_t stride = size_t(rowStride(sourceBits_, width_));
    for (int row = 0; row < height_; ++row) {
        const uint8_t* from = pixels_.data() + stride * size_t(row);
        uint8_t* to = dest + destStride * size_t(topDown_ ? height_ - 1 - row : row);
        switch (conversion_) {
        case Conversion::Copy: std::memcpy(to, from, stride); break;
        case Conversion::TwoToFour:
            for (int x = 0; x < width_; ++x) {
                const int index = (from[x / 4] >> (6 - 2 * (x % 4))) & 3;
                to[x / 2] |= uint8_t(x % 2 ? index : index << 4);
            }
            break;
        case Conversion::Swap16:
            for (int x = 0; x < width_; ++x)
                storeLE16(to + 2 * x, swapRedBlue16(loadLE16(from + 2 * x)));
            break;
        case Conversion::Rgb24:
            for (int x = 0; x < width_; ++x, from += 3)
                storeLE32(to + 4 * x, uint32_t(from[2]) | uint32_t(from[1]) << 8 | uint32_t(from[0]) << 16);
            break;
        case Conversion::Channels:
            for (int x = 0; x < width_; ++x) {
                const uint32_t p = sourceBits_ == 16 ? loadLE16(from + 2 * x) : loadLE32(from + 4 * x);
                storeLE32(to + 4 * x, uint32_t(channels_[0].level(p)) | uint32_t(channels_[1].level(p)) << 8
                                          | uint32_t(channels_[2].level(p)) << 16);
            }
            break;
        case Conversion::Rle: break;
        }
    }
}

} // namespace celvane
