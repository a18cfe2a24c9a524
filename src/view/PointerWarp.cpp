#include "view/PointerWarp.h"

#include <cstdint>

namespace celvane {

namespace {
int64_t distance2(Point a, Point b)
{
    const int64_t dx = int64_t(a.x) - b.x, dy = int64_t(a.y) - b.y;
    return dx * dx + dy * dy;
}
} // namespace

Point PointerWarp::filter(Point p)
{
    if (!warp_)
        return p;
    const Warp w = *warp_;
    warp_.reset();
    return distance2(p, w.from) < distance2(p, w.to) ? w.to : p;
}

} // namespace celvane
