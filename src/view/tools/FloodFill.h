#pragma once
// Pouring paint into a frame: the 4-connected area of one colour (never through a diagonal gap
// of one pixel), every pixel of one colour, or the paper-coloured pixels of a rectangle. Works
// on pixel values at every depth; the area fill walks runs of a row at a time.

#include <cstdint>
#include <vector>

#include "gfx/Rect.h"
#include "view/ViewLayout.h"

namespace celvane {

class Sprite;

class FloodFill {
public:
    // The area around `seed` having the seed's pixel value takes `pixel`; returns the rectangle
    // that changed (empty when the seed is outside or already has that value).
    Rect area(Sprite& image, Point seed, uint32_t pixel);
    // Every pixel of value `from` takes `to`.
    static Rect everywhere(Sprite& image, uint32_t from, uint32_t to);
    // Within `r`, every pixel of value `from` takes `to`.
    static Rect within(Sprite& image, const Rect& r, uint32_t from, uint32_t to);

    // A filled run whose neighbour rows are still to be looked at.
    struct Run {
        int y, left, right;
    };

private:
    std::vector<Run> pending_;
};

} // namespace celvane
