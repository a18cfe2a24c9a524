// Sprite::plot: the order of the paths, the general path onto sprites, bands onto drawing
// contexts and the platform copy.

#include <algorithm>
#include <optional>

#include "base/Errors.h"
#include "gfx/DibLayout.h"
#include "gfx/DrawingContext.h"
#include "gfx/PaletteSelection.h"
#include "gfx/PlotBytes.h"
#include "gfx/PlotColour.h"
#include "gfx/PlotPrepare.h"
#include "gfx/PlotRaster.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

// Bands onto a drawing context hold at most this many pixels, so that scratch memory stays small.
constexpr int kBandPixels = 64000;

Rect clippedBox(const Rect& bounds, const std::optional<Rect>& clip)
{
    return clip ? bounds.intersected(*clip) : bounds;
}

// The colour stage for drawing `source` onto `destination`. `nearest` is filled in when the
// stage needs it.
PlotInk inkFor(const Sprite& source, const Sprite& destination, const Transparency& transparency, uint32_t flags,
               uint32_t colour, std::optional<NearestColours>& nearest)
{
    PlotInk ink;
    ink.mode = transparency.mode;
    ink.key = transparency.key;
    const int sourceBits = source.bitsPerPixel();
    const int destinationBits = destination.bitsPerPixel();
    if (flags & kPlotSingleColour) {
        ink.stage = ColourStage::Single;
        ink.single = destination.pixelValueForRgb(colour);
    } else if (isPaletteDepth(sourceBits)) {
        const bool samePalette = source.palette().get() == destination.palette().get() && sourceBits == destinationBits;
        const std::vector<uint32_t>* table = samePalette ? nullptr : translationTable(source, destination);
        ink.stage = table ? ColourStage::Table : ColourStage::Copy;
        ink.table = table ? table->data() : nullptr;
    } else if (sourceBits == destinationBits) {
        ink.stage = ColourStage::Copy;
    } else {
        ink.table = sourceBits == 16 ? widened16().data() : nullptr;
        if (sourceBits == 16 && destinationBits == 32) {
            ink.stage = ColourStage::Table;
        } else {
            ink.stage = ColourStage::Convert;
            ink.nearest = &nearest.emplace(destination);
        }
    }
    return ink;
}

// The general path with a destination sprite: every combination of depths, palettes,
// transforms and modes is drawn here, pixel by pixel.
void plotOntoSprite(const Sprite& source, Sprite& destination, const PreparedPlot& plot,
                    const Transparency& transparency, const PlotRequest& request)
{
    const PlotShape shape = plotShape(plot).mapped(logicalBounds(destination), pixelBounds(destination));
    Rect box = shapeBounds(shape).intersected(pixelBounds(destination));
    if (plot.clip)
        box = box.intersected(toPixels(destination, *plot.clip));
    if (box.isEmpty())
        return;
    std::optional<NearestColours> nearest;
    const PlotInk ink = inkFor(source, destination, transparency, request.flags, request.colour, nearest);
    rasterise(source, toPixels(source, plot.source), shape, ink, destination, box);
}

// A transformed plot onto a drawing context: drawn band by band into a scratch sprite of the
// source's depth and palette at the context's device resolution, each band then copied onto
// the context. The band's mask marks the pixels drawn, for contexts whose copy honours masks.
void plotInBands(const Sprite& source, DrawingContext& context, const PreparedPlot& plot,
                 const Transparency& transparency, const PlotRequest& request)
{
    const PlotShape logicalShape = plotShape(plot);
    const Rect box = clippedBox(shapeBounds(logicalShape), plot.clip);
    if (box.isEmpty())
        return;
    const Rect device = context.toDevice(box);
    if (device.isEmpty())
        return;
    const PlotShape shape = logicalShape.mapped(box, device);
    const int width = device.width();
    int bandHeight = device.height();
    if (int64_t(width) * bandHeight > kBandPixels)
        bandHeight = std::max(1, kBandPixels / width);

    Sprite band;
    band.create(width, bandHeight, width, bandHeight, source.bitsPerPixel(), source.palette());
    Sprite& mask = band.ensureMask();
    PlotInk ink;
    ink.mode = transparency.mode;
    ink.key = transparency.key;
    if (request.flags & kPlotSingleColour) {
        ink.stage = ColourStage::Single;
        ink.single = band.pixelValueForRgb(request.colour);
    }
    PlotInk maskInk = ink;
    maskInk.stage = ColourStage::Single;
    maskInk.single = 1;

    const Rect sourcePixels = toPixels(source, plot.source);
    const SelectedPalette selected(*source.palette(), context);
    // Back to logical units by the same rule for every band edge, so that bands abut.
    auto logicalY = [&](int deviceY) {
        return box.top + int(int64_t(deviceY - device.top) * box.height() / device.height());
    };
    for (int top = device.top; top < device.bottom; top += bandHeight) {
        const int height = std::min(bandHeight, device.bottom - top);
        const Rect bandBox{0, 0, width, height};
        PlotShape bandShape = shape;
        for (FixedPoint& p : bandShape.corners) {
            p.x -= int64_t(device.left) * 256;
            p.y -= int64_t(top) * 256;
        }
        band.fillWord(0);
        mask.fillWord(0);
        rasterise(source, sourcePixels, bandShape, ink, band, bandBox);
        rasterise(source, sourcePixels, bandShape, maskInk, mask, bandBox);
        context.stretchCopy(band, bandBox, {box.left, logicalY(top), box.right, logicalY(top + height)});
    }
}

void plotByCopy(const Sprite& source, DrawingContext& context, const PreparedPlot& plot)
{
    source.updateColourTable();
    const SelectedPalette selected(*source.palette(), context);
    context.stretchCopy(source, toPixels(source, plot.source), plot.destination);
}

// The sprite with its mask and transparent colour, as a source that stays whole while the
// original is drawn over.
Sprite detachedCopy(const Sprite& sprite)
{
    Sprite copy;
    copy.create(sprite.width(), sprite.height(), sprite.logicalWidth(), sprite.logicalHeight(), sprite.bitsPerPixel(),
                sprite.palette());
    copy.copyPixelsFrom(sprite);
    if (sprite.hasTransparentColour())
        copy.setTransparentColour(sprite.transparentColour(), !sprite.solid());
    if (sprite.mask())
        copy.ensureMask().copyPixelsFrom(*sprite.mask());
    return copy;
}

} // namespace

int Sprite::plot(const PlotRequest& request) const
{
    Sprite* destination = request.destinationSprite;
    if (!destination && !request.context)
        throw NotSupportedError("plot with nowhere to draw");
    if (destination && destination->empty())
        throw NotSupportedError("plot onto an empty sprite");
    if (empty())
        return 1;
    // Onto itself, a plot would read pixels it has already written.
    if (destination == this)
        return detachedCopy(*this).plot(request);

    const bool snap = destination || plotSettings().snapsOntoContext(bits_);
    const std::optional<PreparedPlot> plot = preparePlot(*this, request, snap);
    if (!plot)
        return 1;
    const Transparency transparency = transparencyFor(*this, request.flags);

    if (destination) {
        // Pixels are about to be touched behind the context's back.
        if (request.context)
            request.context->flush();
        if (!plotSamePaletteBytes(*this, *destination, *plot, transparency, request.flags, request.colour))
            plotOntoSprite(*this, *destination, *plot, transparency, request);
        return 1;
    }
    if (plot->shape) {
        plotInBands(*this, *request.context, *plot, transparency, request);
        return 1;
    }
    if (request.flags & (kPlotMasked | kPlotSingleColour))
        return int(request.flags);
    plotByCopy(*this, *request.context, *plot);
    return 0;
}

} // namespace celvane
