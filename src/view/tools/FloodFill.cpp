#include "view/tools/FloodFill.h"

#include <algorithm>
#include <climits>

#include "gfx/Sprite.h"

namespace celvane {

namespace {

// A row of pixels at one depth: whole bytes and words go straight to memory, 1 and 4 bits
// through the sprite.
template <typename T>
struct DirectRow {
    T* p;
    DirectRow(Sprite& s, int y) : p(reinterpret_cast<T*>(s.rowAddress(y))) {}
    uint32_t get(int x) const { return p[x]; }
    void fill(int left, int right, uint32_t v) const { std::fill(p + left, p + right, T(v)); }
};

struct PackedRow {
    Sprite& s;
    int y;
    uint32_t get(int x) const { return s.pixelAt(x, y); }
    void fill(int left, int right, uint32_t v) const
    {
        for (int x = left; x < right; ++x)
            s.setPixelAt(x, y, v);
    }
};

template <typename Row>
Rect fillArea(Sprite& image, Point seed, uint32_t target, uint32_t pixel, std::vector<FloodFill::Run>& pending)
{
    const int w = image.width(), h = image.height();
    Rect changed{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    // Fills the run through (x, y), queues it, and says where it ends.
    const auto fillRun = [&](const Row& row, int x, int y) {
        int left = x, right = x + 1;
        while (left > 0 && row.get(left - 1) == target)
            --left;
        while (right < w && row.get(right) == target)
            ++right;
        row.fill(left, right, pixel);
        pending.push_back({y, left, right});
        changed = {std::min(changed.left, left), std::min(changed.top, y), std::max(changed.right, right),
                   std::max(changed.bottom, y + 1)};
        return right;
    };
    pending.clear();
    fillRun(Row{image, seed.y}, seed.x, seed.y);
    while (!pending.empty()) {
        const FloodFill::Run run = pending.back();
        pending.pop_back();
        for (const int y : {run.y - 1, run.y + 1}) {
            if (y < 0 || y >= h)
                continue;
            const Row row{image, y};
            // Only pixels straight above or below the run join it: never a diagonal neighbour.
            for (int x = run.left; x < run.right; ++x)
                if (row.get(x) == target)
                    x = fillRun(row, x, y);
        }
    }
    return changed;
}

} // namespace

Rect FloodFill::area(Sprite& image, Point seed, uint32_t pixel)
{
    if (seed.x < 0 || seed.y < 0 || seed.x >= image.width() || seed.y >= image.height())
        return {};
    const uint32_t target = image.pixelAt(seed.x, seed.y);
    if (target == pixel)
        return {};
    switch (image.bitsPerPixel()) {
    case 8: return fillArea<DirectRow<uint8_t>>(image, seed, target, pixel, pending_);
    case 16: return fillArea<DirectRow<uint16_t>>(image, seed, target, pixel, pending_);
    case 32: return fillArea<DirectRow<uint32_t>>(image, seed, target, pixel, pending_);
    default: return fillArea<PackedRow>(image, seed, target, pixel, pending_);
    }
}

Rect FloodFill::within(Sprite& image, const Rect& r, uint32_t from, uint32_t to)
{
    const Rect area = r.intersected({0, 0, image.width(), image.height()});
    if (area.isEmpty() || from == to)
        return {};
    Rect changed{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (image.pixelAt(x, y) == from) {
                image.setPixelAt(x, y, to);
                changed = {std::min(changed.left, x), std::min(changed.top, y), std::max(changed.right, x + 1),
                           std::max(changed.bottom, y + 1)};
            }
    return changed.isEmpty() ? Rect{} : changed;
}

Rect FloodFill::everywhere(Sprite& image, uint32_t from, uint32_t to)
{
    return within(image, {0, 0, image.width(), image.height()}, from, to);
}

} // namespace celvane
