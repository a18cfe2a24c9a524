#include "gfx/PlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace celvane {

namespace {

constexpr double kRadiansPerDegree = 0.0174532925;

// Rounded rather than truncated, so that quarter turns give exact rectangles.
int64_t toFixed(double value)
{
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return int64_t(std::lround(std::clamp(value, lo, hi)));
}

int clampToInt(int64_t value)
{
    return int(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int64_t floorDiv(int64_t n, int64_t d)
{
    const int64_t q = n / d;
    return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

FixedPoint apply(const PlotMatrix& m, int x, int y)
{
    const double fx = double(x) * 256;
    const double fy = double(y) * 256;
    return {toFixed(fy * m.m21 + fx * m.m11), toFixed(fy * m.m22 + fx * m.m12)};
}

} // namespace

PlotMatrix operator*(const PlotMatrix& a, const PlotMatrix& b)
{
    return {a.m11 * b.m11 + a.m12 * b.m21, a.m11 * b.m12 + a.m12 * b.m22,
            a.m21 * b.m11 + a.m22 * b.m21, a.m21 * b.m12 + a.m22 * b.m22};
}

std::optional<PlotMatrix> makeTransformMatrix(const PlotTransform& t, const PlotTransform* axes)
{
    const double sx = t.scaleX;
    const double sy = t.scaleY;
    if (axes && axes->angle != 0) {
        const double theta = axes->angle * kRadiansPerDegree;
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        const double shear = c * s * (sx - sy);
        return PlotMatrix{s * s * sy + c * c * sx, shear, shear, s * s * sx + c * c * sy};
    }
    if (t.angle == 0) {
        if (sx == 1 && sy == 1)
            return std::nullopt;
        return PlotMatrix{sx, 0, 0, sy};
    }
    const double theta = t.angle * kRadiansPerDegree;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return PlotMatrix{c * sx, s * sx, -s * sy, c * sy};
}

std::optional<PlotTransform> combineTransforms(const PlotTransform& a, const PlotTransform& b)
{
    double angle = std::fmod(a.angle + b.angle + 720, 360);
    if (angle < 0)
        angle += 360;
    const PlotTransform combined{a.scaleX * b.scaleX, a.scaleY * b.scaleY, angle};
    if (combined.isIdentity())
        return std::nullopt;
    return combined;
}

PlotShape PlotShape::of(const Rect& r)
{
    auto at = [](int x, int y) { return FixedPoint{int64_t(x) * 256, int64_t(y) * 256}; };
    return {{at(r.left, r.top), at(r.right, r.top), at(r.right, r.bottom), at(r.left, r.bottom)}};
}

PlotShape PlotShape::mapped(const Rect& from, const Rect& to) const
{
    PlotShape out;
    for (size_t i = 0; i < corners.size(); ++i) {
        const FixedPoint& p = corners[i];
        out.corners[i] = {int64_t(to.left) * 256 + floorDiv((p.x - int64_t(from.left) * 256) * to.width(), from.width()),
                          int64_t(to.top) * 256 + floorDiv((p.y - int64_t(from.top) * 256) * to.height(), from.height())};
    }
    return out;
}

std::optional<Rect> PlotShape::asRectangle() const
{
    const FixedPoint& p0 = corners[0];
    if (p0.x != corners[3].x || p0.y != corners[1].y)
        return std::nullopt;
    const FixedPoint& p2 = corners[2];
    return Rect{clampToInt(p0.x >> 8), clampToInt(p0.y >> 8), clampToInt(p2.x >> 8), clampToInt(p2.y >> 8)};
}

PlotShape transformedShape(const PlotMatrix& matrix, const Rect& source, const Rect& destination)
{
    PlotShape shape;
    auto& p = shape.corners;
    p[0] = apply(matrix, source.left, source.top);
    p[1] = apply(matrix, source.right, source.top);
    p[2] = apply(matrix, source.right, source.bottom);
    p[3] = {p[2].x + p[0].x - p[1].x, p[2].y + p[0].y - p[1].y};
    // Moved by whole units only, so that the shape keeps its position within a unit.
    const int64_t dx = (int64_t(destination.left + destination.right) >> 1) - (((p[0].x + p[2].x) >> 1) >> 8);
    const int64_t dy = (int64_t(destination.top + destination.bottom) >> 1) - (((p[0].y + p[2].y) >> 1) >> 8);
    for (FixedPoint& corner : p) {
        corner.x += dx * 256;
        corner.y += dy * 256;
    }
    return shape;
}

Rect shapeBounds(const PlotShape& shape)
{
    int64_t minX = shape.corners[0].x, maxX = minX;
    int64_t minY = shape.corners[0].y, maxY = minY;
    for (const FixedPoint& p : shape.corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return {clampToInt(minX >> 8), clampToInt(minY >> 8), clampToInt((maxX + 255) >> 8), clampToInt((maxY + 255) >> 8)};
}

} // namespace celvane
