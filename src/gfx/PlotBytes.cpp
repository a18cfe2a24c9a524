#include "gfx/PlotBytes.h"

#include <cstring>

#include "gfx/PlotPrepare.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

bool maskBit(const uint8_t* maskRow, int x) { return (maskRow[x >> 3] >> (7 - (x & 7))) & 1; }

} // namespace

bool plotSamePaletteBytes(const Sprite& source, Sprite& destination, const PreparedPlot& plot,
                          const Transparency& transparency, uint32_t flags, uint32_t colour)
{
    if (plot.shape || source.bitsPerPixel() != 8 || destination.bitsPerPixel() != 8
        || source.palette().get() != destination.palette().get() || transparency.mode == PlotMode::OnlyKey)
        return false;
    const Rect from = toPixels(source, plot.source);
    const Rect to = toPixels(destination, plot.destination);
    if (from.width() <= 0 || from.height() <= 0 || from.width() != to.width() || from.height() != to.height())
        return false;

    // Clipped to both sprites and the clip, the other rectangle following.
    Rect target = to.intersected(pixelBounds(destination));
    if (plot.clip)
        target = target.intersected(toPixels(destination, *plot.clip));
    target = target.intersected(pixelBounds(source).translated(to.left - from.left, to.top - from.top));
    if (target.isEmpty())
        return true;
    const int dx = from.left - to.left;
    const int dy = from.top - to.top;
    const size_t width = size_t(target.width());
    const bool single = flags & kPlotSingleColour;
    const uint8_t value = uint8_t(destination.pixelValueForRgb(colour));
    const uint8_t key = uint8_t(transparency.key);

    for (int y = target.top; y < target.bottom; ++y) {
        const uint8_t* in = source.rowAddress(y + dy) + target.left + dx;
        uint8_t* out = destination.rowAddress(y) + target.left;
        switch (transparency.mode) {
        case PlotMode::SkipKey:
            // Selects rather than branches, so that the compiler can do many bytes at once.
            if (single)
                for (size_t i = 0; i < width; ++i)
                    out[i] = in[i] != key ? value : out[i];
            else
                for (size_t i = 0; i < width; ++i)
                    out[i] = in[i] != key ? in[i] : out[i];
            break;
        case PlotMode::Mask: {
            const uint8_t* mask = source.mask()->rowAddress(y + dy);
            const int x0 = target.left + dx;
            for (size_t i = 0; i < width; ++i)
                if (maskBit(mask, x0 + int(i)))
                    out[i] = single ? value : in[i];
            break;
        }
        default:
            if (single)
                std::memset(out, value, width);
            else
                std::memcpy(out, in, width);
        }
    }
    return true;
}

} // namespace celvane
