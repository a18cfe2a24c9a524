#include "playback/FadeGeometry.h"

#include <algorithm>
#include <tuple>

#include "film/FrameFade.h"

namespace celvane {

namespace {
// A band from `a` to `b` measured from the named side, as a rectangle of the frame.
Rect band(int direction, int a, int b, int width, int height)
{
    const bool across = direction == FrameFade::FromLeft || direction == FrameFade::FromRight;
    const int size = across ? width : height;
    a = std::clamp(a, 0, size);
    b = std::clamp(b, 0, size);
    if (direction == FrameFade::FromRight || direction == FrameFade::FromBottom)
        std::tie(a, b) = std::pair(size - b, size - a);
    return across ? Rect{a, 0, b, height} : Rect{0, a, width, b};
}
} // namespace

FadeStep fadeStep(int kind, int direction, int step, int steps, int width, int height)
{
    FadeStep result;
    if (steps <= 0)
        return result;
    const bool across = direction == FrameFade::FromLeft || direction == FrameFade::FromRight;
    const int size = across ? width : height;
    switch (kind) {
    case FrameFade::Slide: {
        int offset = size * step / steps - size;
        if (direction == FrameFade::FromRight || direction == FrameFade::FromBottom)
            offset = -offset;
        result.shift = across ? Point{offset, 0} : Point{0, offset};
        result.parts.push_back({0, 0, width, height});
        break;
    }
    case FrameFade::Wipe: {
        const int strip = size / steps + 1;
        result.parts.push_back(band(direction, step * strip, (step + 1) * strip, width, height));
        break;
    }
    case FrameFade::Slats:
        // Slats two pixels wide, one every 32 pixels: sixteen steps fill the frame.
        for (int a = 2 * step; a < size; a += 32)
            result.parts.push_back(band(direction, a, a + 2, width, height));
        break;
    default: result.parts.push_back({0, 0, width, height});
    }
    return result;
}

} // namespace celvane
