#include "gfx/PlotPrepare.h"

#include <algorithm>
#include <limits>

#include "gfx/Sprite.h"

namespace celvane {

namespace {

constexpr int kUnbounded = std::numeric_limits<int>::max();

int scaled(int value, int pixels, int logical)
{
    const int64_t n = int64_t(value) * pixels;
    const int64_t q = (n % logical != 0 && n < 0) ? n / logical - 1 : n / logical;
    return int(std::clamp<int64_t>(q, -kUnbounded, kUnbounded));
}

Rect normalised(const Rect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

// One axis of snapping. `dest` and `source` are [from, to) pairs in logical units; returns
// false when the destination is not a whole multiple of the source, which leaves the axis
// to the clip.
bool snapAxis(int& destFrom, int& destTo, int& sourceFrom, int& sourceTo, int clipFrom, int clipTo,
              int sourceLogical, int sourcePixels)
{
    const int destWidth = destTo - destFrom;
    const int sourceWidth = sourceTo - sourceFrom;
    if (destWidth <= 0 || sourceWidth <= 0 || destWidth % sourceWidth != 0)
        return false;
    const int k = destWidth / sourceWidth;
    const int cell = int(int64_t(k) * sourceLogical / sourcePixels);
    if (cell <= 0)
        return false;
    const int unmovedLeft = destFrom;
    const int unmovedSource = sourceFrom;
    if (clipFrom > unmovedLeft) {
        const int offset = std::min((clipFrom - unmovedLeft) / cell * cell, destWidth);
        destFrom = unmovedLeft + offset;
        sourceFrom = unmovedSource + offset / k;
    }
    if (clipTo < destTo) {
        const int extent = std::max(0, clipTo - unmovedLeft);
        const int whole = std::min((extent + cell - 1) / cell * cell, destWidth);
        destTo = unmovedLeft + whole;
        sourceTo = unmovedSource + whole / k;
    }
    return true;
}

} // namespace

Rect toPixels(const Sprite& s, const Rect& r)
{
    return {scaled(r.left, s.width(), s.logicalWidth()), scaled(r.top, s.height(), s.logicalHeight()),
            scaled(r.right, s.width(), s.logicalWidth()), scaled(r.bottom, s.height(), s.logicalHeight())};
}

Rect pixelBounds(const Sprite& s) { return {0, 0, s.width(), s.height()}; }
Rect logicalBounds(const Sprite& s) { return {0, 0, s.logicalWidth(), s.logicalHeight()}; }

std::optional<PreparedPlot> preparePlot(const Sprite& source, const PlotRequest& request, bool snap)
{
    PreparedPlot plot;
    plot.source = request.source && !request.clip ? *request.source : logicalBounds(source);
    plot.destination = request.destination.value_or(logicalBounds(source));
    plot.clip = request.clip;

    if (request.transform) {
        std::optional<PlotMatrix> matrix = makeTransformMatrix(*request.transform);
        if (request.axisScale) {
            const PlotTransform scale{request.axisScale->scaleX, request.axisScale->scaleY, 0};
            if (auto along = makeTransformMatrix(scale, &*request.transform))
                matrix = matrix ? *matrix * *along : *along;
        }
        if (matrix) {
            const PlotShape shape = transformedShape(*matrix, toPixels(source, plot.source), plot.destination);
            if (auto rectangle = shape.asRectangle())
                plot.destination = *rectangle;
            else
                plot.shape = shape;
        }
    }
    Rect& d = plot.destination;
    if (d.width() == 0 || d.height() == 0)
        return std::nullopt;
    if (!plot.clip || plot.shape)
        return plot;

    Rect clip = *plot.clip;
    if (normalised(d).intersected(clip).isEmpty())
        return std::nullopt;
    if (snap) {
        Rect& s = plot.source;
        if (snapAxis(d.left, d.right, s.left, s.right, clip.left, clip.right, source.logicalWidth(), source.width())) {
            clip.left = -kUnbounded;
            clip.right = kUnbounded;
        }
        if (snapAxis(d.top, d.bottom, s.top, s.bottom, clip.top, clip.bottom, source.logicalHeight(), source.height())) {
            clip.top = -kUnbounded;
            clip.bottom = kUnbounded;
        }
        if (d.width() == 0 || d.height() == 0)
            return std::nullopt;
    }
    plot.clip = clip;
    return plot;
}

PlotShape plotShape(const PreparedPlot& plot)
{
    return plot.shape ? *plot.shape : PlotShape::of(plot.destination);
}

Transparency transparencyFor(const Sprite& source, uint32_t flags)
{
    const bool hasKey = source.hasTransparentColour();
    const bool hasMask = source.mask() != nullptr;
    if (!hasKey && !hasMask)
        flags &= ~kPlotMasked;
    if (!(flags & (kPlotMasked | kPlotSingleColour)))
        return {};
    if (hasKey) {
        const bool solid = source.solid() != bool(flags & kPlotInvertSolid);
        return {solid ? PlotMode::OnlyKey : PlotMode::SkipKey, source.pixelValueOf(source.transparentColour())};
    }
    if (hasMask)
        return {PlotMode::Mask, 0};
    return {};
}

} // namespace celvane
