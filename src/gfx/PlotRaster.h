#pragma once
// Drawing a plot's shape into the pixels of a sprite, through the span loop for the plot's
// combination of depths, mode and colour stage.

#include <cstdint>

#include "gfx/PlotGeometry.h"
#include "gfx/PlotSpans.h"
#include "gfx/Rect.h"

namespace celvane {

class Sprite;

// Which source pixels are written and what they become.
struct PlotInk {
    PlotMode mode = PlotMode::Opaque;
    ColourStage stage = ColourStage::Copy;
    uint32_t key = 0;    // source pixel value
    uint32_t single = 0; // target pixel value
    const uint32_t* table = nullptr;
    NearestColours* nearest = nullptr;
};

// Draws source pixels `sourcePixels` of `source`, stretched onto `shape` (target pixels, 24.8
// fixed point), into the pixels of `target` inside `box` (within the target).
void rasterise(const Sprite& source, const Rect& sourcePixels, const PlotShape& shape, const PlotInk& ink,
               Sprite& target, const Rect& box);

} // namespace celvane
