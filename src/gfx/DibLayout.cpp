#include "gfx/DibLayout.h"

namespace celvane {

int32_t pixelsPerMetreFor(int pixels, int logical)
{
    return int32_t(pixels * kNominalPixelsPerMetre / logical);
}

int logicalSizeFor(int pixels, int32_t pixelsPerMetre)
{
    return int(pixels * kNominalPixelsPerMetre / pixelsPerMetre);
}

Bytes makeInfoHeader(int width, int height, int logicalWidth, int logicalHeight, int bits)
{
    const bool logicalIsPixels = width == logicalWidth && height == logicalHeight;
    Bytes header;
    header.reserve(size_t(kInfoHeaderSize + 4 * colourTableEntries(bits)));
    ByteWriter w(&header);
    w.u32(kInfoHeaderSize);
    w.u32(uint32_t(width));
    w.u32(uint32_t(height));
    w.u16(1); // planes
    w.u16(uint16_t(bits));
    w.u32(isPaletteDepth(bits) ? kCompressionNone : kCompressionBitFields);
    w.u32(uint32_t(rowStride(bits, width)) * uint32_t(height));
    w.u32(uint32_t(logicalIsPixels ? 0 : pixelsPerMetreFor(width, logicalWidth)));
    w.u32(uint32_t(logicalIsPixels ? 0 : pixelsPerMetreFor(height, logicalHeight)));
    w.u32(0); // colours used
    w.u32(0); // colours important
    if (isPaletteDepth(bits)) {
        w.zeros(size_t(4 * colourTableEntries(bits)));
    } else {
        for (uint32_t mask : bits == 16 ? kMasks16 : kMasks32)
            w.u32(mask);
    }
    return header;
}

} // namespace celvane
