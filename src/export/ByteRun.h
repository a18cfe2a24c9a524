#pragma once
// The byte-run coding of FLIC picture lines: per line a packet count, then packets whose signed
// count byte says "repeat the next byte n times" (positive) or "n literal bytes follow"
// (negative).

#include <cstddef>
#include <cstdint>

#include "base/ByteIO.h"

namespace celvane {

// Appends one coded line.
void encodeByteRunLine(const uint8_t* pixels, size_t width, Bytes& out);

} // namespace celvane
