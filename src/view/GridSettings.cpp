#include "view/GridSettings.h"

#include <algorithm>
#include <cstdint>

#include "base/Settings.h"

namespace celvane {

GridSettings GridSettings::load(const Settings& s)
{
    GridSettings g;
    g.xSpacing = s.getInt("Grid", "XSpacing", 64, kMinSpacing, kMaxSpacing);
    g.ySpacing = s.getInt("Grid", "YSpacing", 64, kMinSpacing, kMaxSpacing);
    g.xSubDivs = s.getInt("Grid", "XSubDivs", 4, kMinDivisions, kMaxDivisions);
    // Files from before the Y count had a name of its own hold one count for both.
    g.ySubDivs = s.getInt("Grid", "YSubDivs", g.xSubDivs, kMinDivisions, kMaxDivisions);
    g.show = s.getFlag("Grid", "Show", false);
    g.lock = s.getFlag("Grid", "Lock", false);
    // Values edited by hand to nonsense fall back to the defaults rather than divide by zero.
    if (g.xSpacing < 1 || g.xSpacing > 10000)
        g.xSpacing = 64;
    if (g.ySpacing < 1 || g.ySpacing > 10000)
        g.ySpacing = 64;
    return g;
}

void GridSettings::save(Settings& s) const
{
    s.writeInt("Grid", "XSpacing", xSpacing);
    s.writeInt("Grid", "YSpacing", ySpacing);
    s.writeInt("Grid", "XSubDivs", xSubDivs);
    s.writeInt("Grid", "YSubDivs", ySubDivs);
    s.writeInt("Grid", "Show", show ? 1 : 0);
    s.writeInt("Grid", "Lock", lock ? 1 : 0);
}

int GridSettings::snap(int v, int spacing, int subDivs)
{
    if (subDivs <= 0)
        return v;
    const int step = spacing / subDivs;
    if (step <= 0)
        return v;
    return step * ((step / 2 + v) / step);
}

void GridSettings::forEachMark(const Rect& frameRect, int frameWidth, int frameHeight, const Rect& area,
                               const std::function<void(int, int)>& invert) const
{
    if (frameWidth <= 0 || frameHeight <= 0 || xSubDivs <= 0 || ySubDivs <= 0)
        return;
    // Positions in 24.8 fixed point of client pixels.
    const int64_t majorX = int64_t(xSpacing) * 256 * frameRect.width() / frameWidth;
    const int64_t majorY = int64_t(ySpacing) * 256 * frameRect.height() / frameHeight;
    const int64_t minorX = majorX / xSubDivs;
    const int64_t minorY = majorY / ySubDivs;
    if (majorX <= 0 || majorY <= 0 || minorX <= 0 || minorY <= 0)
        return;
    const Rect visit = frameRect.intersected({area.left - 3, area.top - 3, area.right + 3, area.bottom + 3});
    if (visit.isEmpty())
        return;
    const int64_t left = int64_t(frameRect.left) << 8, top = int64_t(frameRect.top) << 8;
    // The first line at or before a client position, as a fixed-point position.
    const auto firstAtOrBefore = [](int64_t origin, int64_t step, int client) {
        const int64_t offset = (int64_t(client) << 8) - origin;
        return origin + (offset > 0 ? offset / step * step : 0);
    };
    const auto inside = [&](int x, int y) { return x >= visit.left && x < visit.right && y >= visit.top && y < visit.bottom; };
    const int64_t xStart = firstAtOrBefore(left, majorX, visit.left);
    const int64_t yStart = firstAtOrBefore(top, majorY, visit.top);
    const int64_t minorXStart = firstAtOrBefore(left, minorX, visit.left);
    const int64_t minorYStart = firstAtOrBefore(top, minorY, visit.top);
    const int64_t xEnd = int64_t(visit.right) << 8, yEnd = int64_t(visit.bottom) << 8;

    // Dots along the major vertical lines, one at every minor Y step.
    for (int64_t x = xStart; x < xEnd; x += majorX)
        for (int64_t y = minorYStart; y < yEnd; y += minorY)
            if (inside(int(x >> 8), int(y >> 8)))
                invert(int(x >> 8), int(y >> 8));
    // Dots along the major horizontal lines, one at every minor X step.
    for (int64_t y = yStart; y < yEnd; y += majorY)
        for (int64_t x = minorXStart; x < xEnd; x += minorX)
            if (inside(int(x >> 8), int(y >> 8)))
                invert(int(x >> 8), int(y >> 8));
    // Crossings: the pixel once more, and a cross of two 5-pixel bars.
    for (int64_t y = yStart; y < yEnd; y += majorY) {
        for (int64_t x = xStart; x < xEnd; x += majorX) {
            const int cx = int(x >> 8), cy = int(y >> 8);
            const auto mark = [&](int px, int py) {
                if (inside(px, py))
                    invert(px, py);
            };
            mark(cx, cy);
            for (int d = -2; d <= 2; ++d) {
                mark(cx + d, cy);
                mark(cx, cy + d);
            }
        }
    }
}

} // namespace celvane
