#include "gfx/PlotScan.h"

#include <algorithm>
#include <limits>

#include "base/Errors.h"

namespace celvane {

namespace {

__extension__ typedef __int128 Wide;

bool fits64(Wide n)
{
    return n >= std::numeric_limits<int64_t>::min() && n <= std::numeric_limits<int64_t>::max();
}

// d > 0. Most numerators fit 64 bits, and 64-bit division is far quicker.
Wide floorDiv(Wide n, Wide d)
{
    if (fits64(n) && fits64(d)) {
        const int64_t a = int64_t(n);
        const int64_t b = int64_t(d);
        const int64_t q = a / b;
        return (a % b != 0 && a < 0) ? q - 1 : q;
    }
    const Wide q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

Wide ceilDiv(Wide n, Wide d) { return -floorDiv(-n, d); }

} // namespace

ShapeScan::ShapeScan(const PlotShape& shape, const Rect& source, const Rect& readable)
{
    const FixedPoint& o = shape.corners[0];
    const Wide e1x = shape.corners[1].x - o.x, e1y = shape.corners[1].y - o.y;
    const Wide e2x = shape.corners[3].x - o.x, e2y = shape.corners[3].y - o.y;
    Wide det = e1x * e2y - e1y * e2x;
    const Rect shown = source.intersected(readable);
    if (det == 0 || shown.isEmpty() || source.isEmpty()) {
        empty_ = true;
        return;
    }
    // Remainders are stepped in 64 bits and must not overflow when added.
    if (det >= (Wide(1) << 62) || det <= -(Wide(1) << 62))
        throw NotSupportedError("plot of a shape too large to draw");
    const Wide sign = det < 0 ? -1 : 1;
    det *= sign;
    denominator_ = int64_t(det);

    // With d the offset of a pixel centre from corner 0, its position across the source is
    // cross(d, e2) / det of the width and down the source cross(e1, d) / det of the height.
    const Wide cx = 128 - o.x, cy = 128 - o.y;
    const Wide sw = Wide(source.width()) * sign, sh = Wide(source.height()) * sign;
    u_.atOrigin = Wide(source.left) * det + sw * (cx * e2y - cy * e2x);
    u_.perColumn = sw * 256 * e2y;
    u_.perRow = -sw * 256 * e2x;
    u_.low = Wide(shown.left) * det;
    u_.high = Wide(shown.right) * det;
    v_.atOrigin = Wide(source.top) * det + sh * (e1x * cy - e1y * cx);
    v_.perColumn = -sh * 256 * e1y;
    v_.perRow = sh * 256 * e1x;
    v_.low = Wide(shown.top) * det;
    v_.high = Wide(shown.bottom) * det;
}

void ShapeScan::limitColumns(const Axis& axis, Wide at, Wide& from, Wide& to)
{
    const Wide k = axis.perColumn;
    if (k > 0) {
        from = std::max(from, ceilDiv(axis.low - at, k));
        to = std::min(to, ceilDiv(axis.high - at, k));
    } else if (k < 0) {
        from = std::max(from, floorDiv(at - axis.high, -k) + 1);
        to = std::min(to, floorDiv(at - axis.low, -k) + 1);
    } else if (at < axis.low || at >= axis.high) {
        to = from;
    }
}

SourceStep ShapeScan::stepFrom(const Axis& axis, Wide numerator) const
{
    SourceStep s;
    s.denominator = denominator_;
    const Wide position = floorDiv(numerator, denominator_);
    s.position = int64_t(position);
    s.remainder = int64_t(numerator - position * denominator_);
    const Wide step = floorDiv(axis.perColumn, denominator_);
    s.step = int64_t(step);
    s.stepRemainder = int64_t(axis.perColumn - step * denominator_);
    return s;
}

void ShapeScan::forEachSpan(const Rect& box, const std::function<void(int y, const Span&)>& visit) const
{
    if (empty_)
        return;
    for (int y = box.top; y < box.bottom; ++y) {
        const Wide uRow = u_.atOrigin + Wide(y) * u_.perRow;
        const Wide vRow = v_.atOrigin + Wide(y) * v_.perRow;
        Wide from = box.left, to = box.right;
        limitColumns(u_, uRow, from, to);
        limitColumns(v_, vRow, from, to);
        if (from >= to)
            continue;
        Span span;
        span.x0 = int(from);
        span.x1 = int(to);
        span.u = stepFrom(u_, uRow + from * u_.perColumn);
        span.v = stepFrom(v_, vRow + from * v_.perColumn);
        visit(y, span);
    }
}

} // namespace celvane
