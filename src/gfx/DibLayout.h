#pragma once
// The device-independent bitmap layout that sprites keep in memory and write to files: a
// 40-byte information header, a colour table (or three channel masks), then bottom-up rows
// padded to 4 bytes. All fields little-endian.

#include <cstddef>
#include <cstdint>

#include "base/ByteIO.h"

namespace celvane {

constexpr int kInfoHeaderSize = 40;
constexpr int kFileHeaderSize = 14;
// Refused before allocating, so that damaged data cannot ask for gigabytes.
constexpr int kMaxSpriteSide = 32767;
constexpr size_t kMaxImageBytes = size_t(256) << 20;
// The most pixels a picture read from another program's file may have: far beyond any picture a
// film is made of, and a bound on what a small compressed file can ask for.
constexpr int64_t kMaxPicturePixels = int64_t(64) << 20;
// The nominal 96 dots per inch, used to carry a logical size in the pixels-per-metre fields.
constexpr double kNominalPixelsPerMetre = 3782.4;

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;

// Channel masks (red, green, blue) of the direct-colour depths: red in the low bits.
constexpr uint32_t kMasks16[3] = {0x001F, 0x03E0, 0x7C00};
constexpr uint32_t kMasks32[3] = {0x000000FF, 0x0000FF00, 0x00FF0000};

constexpr bool isSpriteDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 32; }
constexpr bool isPaletteDepth(int bits) { return bits <= 8; }
// Entries after the header: 2^bits colours at palette depths, the 3 masks otherwise.
constexpr int colourTableEntries(int bits) { return isPaletteDepth(bits) ? 1 << bits : 3; }
constexpr int usedBytesPerRow(int bits, int width) { return int((int64_t(bits) * width + 7) / 8); }
constexpr int rowStride(int bits, int width) { return int(((int64_t(bits) * width + 31) & ~int64_t(31)) / 8); }

// The pixels-per-metre field for one dimension of a sprite whose logical size is not its pixel
// size (when it is, both fields are 0).
int32_t pixelsPerMetreFor(int pixels, int logical);
// The logical size such a field gives back.
int logicalSizeFor(int pixels, int32_t pixelsPerMetre);

// The header and a zeroed colour table (palette depths) or the masks (16/32 bits).
Bytes makeInfoHeader(int width, int height, int logicalWidth, int logicalHeight, int bits);

} // namespace celvane
