#pragma once
// A DIB handed to us by a file, the clipboard or a stamp, checked in full before anything is
// allocated for it. Only the plain 40-byte information header is taken; its colour table may
// be shorter than the depth allows (the "colours used" field).

#include <cstdint>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

class DibInput {
public:
    // ArchiveError for a damaged header, table or pixel range; NotSupportedError for header
    // kinds, compressions and channel layouts that are not ours; MemoryError for an image too
    // large to take.
    DibInput(ByteSpan headerAndTable, ByteSpan pixels);

    int width() const { return width_; }
    int height() const { return height_; }
    int bits() const { return bits_; }
    int logicalWidth() const { return logicalWidth_; }
    int logicalHeight() const { return logicalHeight_; }
    // Colour words of the table, 2^bits of them (black past a short table); empty at 16/32 bits.
    const std::vector<uint32_t>& colours() const { return colours_; }

    // The rows bottom-up into rows of rowStride(bits, width) bytes, converted to the sprite's
    // channel layout.
    void copyPixels(uint8_t* dest) const;

private:
    void readLayout(ByteReader& header, uint32_t compression);
    void readColourTable(ByteReader& header, uint32_t coloursUsed);

    int width_ = 0;
    int height_ = 0;
    int bits_ = 0;
    bool topDown_ = false;
    // Direct colour stored red-high, as the platform's own 5-5-5 and 8-8-8 layouts are.
    bool swapRedBlue_ = false;
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
    std::vector<uint32_t> colours_;
    ByteSpan pixels_;
};

} // namespace celvane
