#pragma once
// A DIB handed to us by a file, the clipboard or a stamp, checked in full before anything is
// allocated for it, and turned into one of the sprite depths. It takes the headers other
// programs write (the 12-byte core header, the 40-byte information header and its longer
// successors), run-length coded pixels, 2- and 24-bit pixels and any layout of channel masks.
// A colour table may be shorter than the depth allows (the "colours used" field).

#include <cstdint>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

class DibInput {
public:
    // ArchiveError for a damaged header, table or pixel range; NotSupportedError for header
    // kinds and compressions that are not a bitmap's, and for an image too large to take.
    DibInput(ByteSpan headerAndTable, ByteSpan pixels);

    int width() const { return width_; }
    int height() const { return height_; }
    // The sprite depth the pixels become: 2 bits become 4, 24 bits and channel layouts that
    // 16 bits cannot hold become 32.
    int bits() const { return bits_; }
    int logicalWidth() const { return logicalWidth_; }
    int logicalHeight() const { return logicalHeight_; }
    // Colour words of the table, 2^bits of them (black past a short table); empty at 16/32 bits.
    const std::vector<uint32_t>& colours() const { return colours_; }

    // The rows bottom-up into rows of rowStride(bits(), width()) bytes, zeroed beforehand,
    // converted to the sprite's channel layout.
    void copyPixels(uint8_t* dest) const;

    // Where the pixels of a packed DIB (header, masks, colour table and pixels in one block, as
    // clipboards carry it) start. Errors as the constructor's.
    static size_t pixelOffset(ByteSpan packedDib);

private:
    DibInput() = default;

    enum class Conversion { Copy, TwoToFour, Rle, Swap16, Rgb24, Channels };
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        uint32_t largest = 0; // the mask shifted down
        uint8_t level(uint32_t pixel) const;
    };

    void readHeader(ByteReader& header);
    void readLayout(ByteReader& header, uint32_t compression, uint32_t headerSize);
    void useMasks(const uint32_t masks[3]);
    void readColourTable(ByteReader& header, uint32_t coloursUsed, size_t entrySize);
    void copyRows(uint8_t* dest, size_t destStride) const;

    int width_ = 0;
    int height_ = 0;
    int sourceBits_ = 0;
    int bits_ = 0;
    bool topDown_ = false;
    Conversion conversion_ = Conversion::Copy;
    Channel channels_[3];
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
    std::vector<uint32_t> colours_;
    ByteSpan pixels_;
};

} // namespace celvane
