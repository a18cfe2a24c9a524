#pragma once
// What a plot is asked to do: draw a source sprite onto a destination sprite or a drawing
// context, scaled, rotated, masked or in one colour (Sprite::plot).

#include <cstdint>
#include <optional>

#include "gfx/Rect.h"

namespace celvane {

class DrawingContext;
class Sprite;

// Scales (1 = unchanged; negative flips) and an angle in degrees.
struct PlotTransform {
    double scaleX = 1;
    double scaleY = 1;
    double angle = 0;

    bool isIdentity() const { return scaleX == 1 && scaleY == 1 && angle == 0; }
    bool operator==(const PlotTransform&) const = default;
};

// Honour the source's mask or transparent colour.
constexpr uint32_t kPlotMasked = 1;
// Every pixel that is written gets the request's colour instead of the source colour.
constexpr uint32_t kPlotSingleColour = 2;
// Take the source's solid setting reversed.
constexpr uint32_t kPlotInvertSolid = 4;

struct PlotRequest {
    // Where a plot without a destination sprite goes (the screen, a printer). With a destination
    // sprite it is that sprite's drawing surface, if it has one, and is only flushed.
    DrawingContext* context = nullptr;
    // Destination logical units; none = the whole source at its logical size at (0, 0). A right
    // edge left of the left edge, or a bottom above the top, draws mirrored. With a transform
    // only the rectangle's centre counts: the transformed source is centred on it.
    std::optional<Rect> destination;
    // Only what falls inside needs drawing (destination logical units). Given a clip, the
    // source rectangle is ignored.
    std::optional<Rect> clip;
    // Source logical units; none = the whole source.
    std::optional<Rect> source;
    uint32_t flags = 0;
    // RGB value for kPlotSingleColour.
    uint32_t colour = 0;
    std::optional<PlotTransform> transform;
    // A further scale, applied after `transform` along the source's axes as `transform` has
    // turned them (a rotated stamp stretched by dragging). Its angle is not used.
    std::optional<PlotTransform> axisScale;
    Sprite* destinationSprite = nullptr;
};

// Pixel-cell snapping of plots of palette-depth sources onto drawing contexts, per source
// depth. The program fills this from its settings at start-up ("Fast2", "Fast16", "Fast256");
// the engine cannot read settings itself.
struct PlotSettings {
    bool fast2 = true;
    bool fast16 = true;
    bool fast256 = true;

    // Direct-colour sources always snap.
    bool snapsOntoContext(int sourceBits) const
    {
        return sourceBits == 1 ? fast2 : sourceBits == 4 ? fast16 : sourceBits == 8 ? fast256 : true;
    }
};

// The settings all plots use; user-interface thread only.
inline PlotSettings& plotSettings()
{
    static PlotSettings settings;
    return settings;
}

} // namespace celvane
