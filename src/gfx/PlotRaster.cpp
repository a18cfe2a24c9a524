#include "gfx/PlotRaster.h"

#include <cstring>
#include <vector>

#include "gfx/PlotPrepare.h"
#include "gfx/PlotScan.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

// See SpanSource::expanded: built once a plot (at most 8 KiB) for runs that copy whole bytes.
std::vector<uint8_t> expandedBytes(int sourceBits, int targetBits, const PlotInk& ink)
{
    const int perByte = 8 / sourceBits;
    const int bytesPerPixel = targetBits / 8;
    std::vector<uint8_t> expanded(256 * size_t(perByte * bytesPerPixel));
    uint8_t* at = expanded.data();
    for (uint32_t byte = 0; byte < 256; ++byte)
        for (int k = 0; k < perByte; ++k) {
            const uint32_t pixel = (byte >> (8 - sourceBits * (k + 1))) & ((1u << sourceBits) - 1);
            const uint32_t value = ink.stage == ColourStage::Single ? ink.single : ink.table ? ink.table[pixel] : pixel;
            for (int i = 0; i < bytesPerPixel; ++i)
                *at++ = uint8_t(value >> (8 * i));
        }
    return expanded;
}

} // namespace

void rasterise(const Sprite& source, const Rect& sourcePixels, const PlotShape& shape, const PlotInk& ink,
               Sprite& target, const Rect& box)
{
    const ShapeScan scan(shape, sourcePixels, pixelBounds(source));
    if (scan.empty() || box.isEmpty())
        return;
    const SpanLoop loop = spanLoopFor(source.bitsPerPixel(), target.bitsPerPixel(), ink.mode, ink.stage);

    SpanSource from;
    from.topRow = source.rowAddress(0);
    from.rowStep = -ptrdiff_t(source.stride());
    if (ink.mode == PlotMode::Mask) {
        from.maskTopRow = source.mask()->rowAddress(0);
        from.maskRowStep = -ptrdiff_t(source.mask()->stride());
    }
    from.key = ink.key;
    from.single = ink.single;
    from.table = ink.table;
    from.nearest = ink.nearest;
    std::vector<uint8_t> expanded;
    if (source.bitsPerPixel() < 8 && target.bitsPerPixel() >= 8 && ink.mode == PlotMode::Opaque) {
        expanded = expandedBytes(source.bitsPerPixel(), target.bitsPerPixel(), ink);
        from.expanded = expanded.data();
    }

    // A scaled-up opaque plot repeats each destination row as often as the scale: copy it
    // instead of sampling it again.
    const bool rowsRepeat = ink.mode == PlotMode::Opaque && target.bitsPerPixel() >= 8;
    const int bytesPerPixel = target.bitsPerPixel() / 8;
    Span previous;
    const uint8_t* previousRow = nullptr;
    scan.forEachSpan(box, [&](int y, const Span& s) {
        Span span = s;
        span.row = target.rowAddress(y);
        if (rowsRepeat && previousRow && span.v.still() && span.x0 == previous.x0 && span.x1 == previous.x1
            && span.u.position == previous.u.position && span.u.remainder == previous.u.remainder
            && span.v.position == previous.v.position) {
            const size_t offset = size_t(span.x0) * size_t(bytesPerPixel);
            std::memcpy(span.row + offset, previousRow + offset, size_t(span.x1 - span.x0) * size_t(bytesPerPixel));
        } else {
            loop(from, span);
        }
        previous = span;
        previousRow = span.row;
    });
}

} // namespace celvane
