#pragma once
// Which destination pixels a plot's shape covers, row by row, and which source pixel each
// shows: a pixel is covered when its centre falls inside the shape, and shows the source pixel
// that its centre maps back onto. The arithmetic is exact (no rounding of steps), so a plot
// drawn in pieces - clipped, or in bands - gives the same pixels as one drawn whole.

#include <functional>

#include "gfx/PlotGeometry.h"
#include "gfx/PlotSpans.h"
#include "gfx/Rect.h"

namespace celvane {

class ShapeScan {
public:
    // `shape` is the image of the source rectangle `source` (source pixels) in destination
    // pixels; only source pixels inside `readable` are shown. NotSupportedError for a shape
    // of more than 2^46 square pixels.
    ShapeScan(const PlotShape& shape, const Rect& source, const Rect& readable);

    bool empty() const { return empty_; }
    // Calls `visit` for each row of `box` holding covered pixels, with the run's columns and
    // source positions (the span's row is left null).
    void forEachSpan(const Rect& box, const std::function<void(int y, const Span&)>& visit) const;

private:
    __extension__ typedef __int128 Wide;

    // One source coordinate as floor(numerator / denominator_); the numerator is linear in
    // the destination pixel.
    struct Axis {
        Wide atOrigin = 0; // at the centre of destination pixel (0, 0)
        Wide perColumn = 0;
        Wide perRow = 0;
        Wide low = 0; // numerators of the pixels that may be shown: low <= n < high
        Wide high = 0;
    };

    // Narrows [from, to) to the columns whose numerator is within the axis' range.
    static void limitColumns(const Axis& axis, Wide atRowStart, Wide& from, Wide& to);
    SourceStep stepFrom(const Axis& axis, Wide numerator) const;

    Axis u_;
    Axis v_;
    int64_t denominator_ = 1;
    bool empty_ = false;
};

} // namespace celvane
