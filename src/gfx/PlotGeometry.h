#pragma once
// Where a transformed plot lands: the transform's matrix and the parallelogram (shape) that the
// source rectangle becomes on the destination, in 24.8 fixed point.

#include <array>
#include <cstdint>
#include <optional>

#include "gfx/PlotRequest.h"
#include "gfx/Rect.h"

namespace celvane {

// A point (x, y) maps to (x·m11 + y·m21, x·m12 + y·m22).
struct PlotMatrix {
    double m11 = 1;
    double m12 = 0;
    double m21 = 0;
    double m22 = 1;
};

// `first` applied, then `then`.
PlotMatrix operator*(const PlotMatrix& first, const PlotMatrix& then);

// The matrix of a transform; none for no transform. With `axes` turned by a non-zero angle the
// matrix scales by the transform's scales along the axes turned by that angle (the transform's
// own angle is not used).
std::optional<PlotMatrix> makeTransformMatrix(const PlotTransform& transform, const PlotTransform* axes = nullptr);

// `b` applied after `a`: scales multiplied, angles added; none when that is no transform.
std::optional<PlotTransform> combineTransforms(const PlotTransform& a, const PlotTransform& b);

// A point in 24.8 fixed point.
struct FixedPoint {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const FixedPoint&) const = default;
};

// Corners of the source rectangle's image: top-left, top-right, bottom-right, bottom-left.
struct PlotShape {
    std::array<FixedPoint, 4> corners;

    // The shape of a rectangle (mirrored ones included).
    static PlotShape of(const Rect& rect);
    // The shape again, with rectangle `from` moved and stretched onto `to` (logical units to
    // pixels).
    PlotShape mapped(const Rect& from, const Rect& to) const;
    // The rectangle the shape is, when it is one lined up with the axes; mirrored when flipped.
    std::optional<Rect> asRectangle() const;
    bool operator==(const PlotShape&) const = default;
};

// The source rectangle (whole units) through the matrix, centred on the destination
// rectangle's centre.
PlotShape transformedShape(const PlotMatrix& matrix, const Rect& source, const Rect& destination);

// Whole units covering the shape.
Rect shapeBounds(const PlotShape& shape);

} // namespace celvane
