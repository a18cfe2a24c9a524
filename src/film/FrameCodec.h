#pragma once
// The frame codec: every frame of a film is kept as a frame record, the picture's bytes coded
// with LZW into 32-bit words between two copies of the record length.

#include <cstddef>
#include <cstdint>

#include "base/ByteIO.h"

namespace celvane {

// A picture as rows, top row first. Rows are addressed by pointer and step so that bottom-up
// bitmaps (negative step) and padded strides need no copying.
struct FrameRows {
    const uint8_t* topRow; // address of the top row's first byte
    ptrdiff_t rowStep;     // bytes from one row to the next row down (negative for bottom-up)
    size_t rowBytes;       // used bytes per row (width x depth rounded up to bytes, no padding)
    int rows;
    int bitsPerPixel; // 1, 2, 4, 8, 16 or 32; 1 and 4 get the bit/nibble mapping
};

struct MutableFrameRows {
    uint8_t* topRow;
    ptrdiff_t rowStep;
    size_t rowBytes;
    int rows;
    int bitsPerPixel;
};

// Appends a complete frame record: length word L, the coded words, L again.
// Throws NotSupportedError for a depth the codec does not know or a picture too large to store.
void encodeFrame(const FrameRows& picture, Bytes& out);

// Decodes a complete frame record (L included at both ends) into the rows. Throws ArchiveError
// on anything that does not decode exactly: bad lengths, a wrong start marker, a code past the
// dictionary, more codes than the record can hold, a missing end code, or decoded bytes that do
// not fill the picture exactly. The rows are left as they were when it throws.
void decodeFrame(ByteSpan record, const MutableFrameRows& picture);

} // namespace celvane
