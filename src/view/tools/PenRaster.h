#pragma once
// The pixels a pen covers, as horizontal runs, and filling them into a frame. Strokes sweep the
// pen's footprint along a segment, so a pen whose width and height differ keeps its shape; the
// figures are grown and shrunk by half the pen for their outlines. Runs are written straight
// into the sprite's rows: a pencil move must cost far less than a repaint.

#include <cstdint>
#include <vector>

#include "gfx/Rect.h"
#include "view/ViewLayout.h"

namespace celvane {

class Sprite;

struct Span {
    int y, left, right; // right exclusive
};
using Spans = std::vector<Span>;

class PenRaster {
public:
    // The pen's footprint around (0, 0): an ellipse when round and both sides are above 2, else
    // a rectangle; w x h with its top-left at (-w / 2, -h / 2).
    void setPen(int width, int height, bool round);
    const Spans& footprint() const { return footprint_; }

    // Each adds runs to `out`; a row may get several overlapping runs.
    void dab(Spans& out, Point at) const;
    // The footprint swept from a to b.
    void sweep(Spans& out, Point a, Point b);
    // An ellipse centred on a pixel with radii grown by half the pen; with `outline`, less the
    // ellipse shrunk by half the pen.
    void ellipse(Spans& out, Point centre, double rx, double ry, bool outline) const;
    // The rectangle with corners on the pixels a and b, grown by half the pen; with `outline`,
    // less the rectangle shrunk by half the pen.
    void rectangle(Spans& out, Point a, Point b, bool outline) const;

    // Writes the runs in a pixel value, clipped to the sprite; returns the rectangle they cover
    // within it (empty when none shows).
    static Rect fill(Sprite& sprite, const Spans& spans, uint32_t pixel);
    // Where the runs lie, unclipped.
    static Rect bounds(const Spans& spans);

private:
    Spans footprint_;
    int width_ = 1, height_ = 1;
    std::vector<int> low_, high_;
};

} // namespace celvane
