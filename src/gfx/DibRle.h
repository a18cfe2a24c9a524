#pragma once
// The run-length coded pixels of 4- and 8-bit bitmaps: runs of one index (or, at 4 bits, of two
// alternating indices), literal stretches, and escapes that end a row, move the pen or end the
// picture. Pixels the codes never reach keep index 0.

#include <cstdint>

#include "base/ByteIO.h"

namespace celvane {

// Decodes into rows of rowStride(bits, width) bytes, bottom row first as the codes run; `rows`
// must be zeroed. ArchiveError for codes that run past the picture or past the data.
void decodeDibRle(ByteSpan codes, int bits, int width, int height, uint8_t* rows);

} // namespace celvane
