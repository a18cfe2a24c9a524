#pragma once
// The first step of every plot: the effective source and destination rectangles (pixel-cell
// snapping included), a transform resolved into a shape, and which pixels the source lets
// through.

#include <optional>

#include "gfx/PlotGeometry.h"
#include "gfx/PlotRequest.h"
#include "gfx/PlotSpans.h"
#include "gfx/Rect.h"

namespace celvane {

class Sprite;

struct PreparedPlot {
    Rect source;                   // source logical units
    Rect destination;              // destination logical units; may be mirrored
    std::optional<Rect> clip;      // what is left of the clip rectangle after snapping
    std::optional<PlotShape> shape; // set while a transform remains (destination logical units)
};

// None when there is nothing to draw. With `snap`, a clip rectangle that cuts through the
// cells of an integer-scaled plot is widened to whole cells, so that each source pixel is
// drawn whole or not at all.
std::optional<PreparedPlot> preparePlot(const Sprite& source, const PlotRequest& request, bool snap);

// The shape the plot fills, in destination logical units.
PlotShape plotShape(const PreparedPlot& plot);

// Logical units of a sprite to its pixels.
Rect toPixels(const Sprite& sprite, const Rect& logical);
// The sprite's pixel rectangle and its logical one.
Rect pixelBounds(const Sprite& sprite);
Rect logicalBounds(const Sprite& sprite);

struct Transparency {
    PlotMode mode = PlotMode::Opaque;
    uint32_t key = 0; // the transparent colour as a source pixel value
};

// Masking asked for of a source with neither a transparent colour nor a mask is dropped; a
// transparent colour is used when the plot is masked or in a single colour.
Transparency transparencyFor(const Sprite& source, uint32_t flags);

} // namespace celvane
