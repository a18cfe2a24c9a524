#pragma once
// The two compact encodings sounds may be stored in, decoded to 16-bit signed samples: an 8-bit
// logarithmic form (one byte a sample) and 4-bit IMA ADPCM (two samples a byte, high nibble
// first, one stream from a zero predictor).

#include <array>
#include <cstdint>

#include "base/ByteIO.h"

namespace celvane {

// The 16-bit value of each logarithmic byte.
const std::array<int16_t, 256>& logarithmicTable();

// `samples` samples from `data` into `out` (room for `samples` values). Missing bytes decode as 0.
void decodeLogarithmic(ByteSpan data, int16_t* out, size_t samples);
void decodeImaAdpcm(ByteSpan data, int16_t* out, size_t samples);

} // namespace celvane
