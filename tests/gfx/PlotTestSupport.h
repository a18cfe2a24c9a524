#pragma once
// Shared by the plotting tests: sprites with made-up pixels and a drawing context that records
// what it is asked to copy and can draw it into a 32-bit sprite.

#include <random>
#include <vector>

#include "gfx/DrawingContext.h"
#include "gfx/Sprite.h"

namespace celvane::test {

// A palette of `count` made-up colours, all different.
inline PaletteRef randomPalette(int count, unsigned seed)
{
    PaletteRef palette = PaletteRef::make();
    palette->setCount(count);
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i)
        palette->setEntry(i, ((random() & 0xFFFFF0u) | uint32_t(i)) << 8);
    return palette;
}

// Every pixel set from `random`, kept within what the depth holds (16 bits: bit 15 clear).
inline void scribble(Sprite& s, std::mt19937& random)
{
    const uint32_t limit = s.bitsPerPixel() == 32 ? 0x1000000u : s.bitsPerPixel() == 16 ? 0x8000u : 1u << s.bitsPerPixel();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            s.setPixelAt(x, y, uint32_t(random()) % limit);
}

inline Sprite copyOf(const Sprite& s)
{
    Sprite copy;
    copy.create(s.width(), s.height(), s.logicalWidth(), s.logicalHeight(), s.bitsPerPixel(), s.palette());
    copy.copyPixelsFrom(s);
    return copy;
}

class RecordingContext : public DrawingContext {
public:
    struct Copy {
        Rect sourcePixels;
        Rect destination;
        int sourceWidth;
        int sourceHeight;
    };

    // Copies land in `canvas` (32 bits, logical units = pixels) when one is given: nearest
    // pixel, mirrored as asked, leaving pixels whose mask bit is 0 alone.
    explicit RecordingContext(Sprite* canvas = nullptr) : canvas_(canvas) {}

    Rect toDevice(const Rect& logical) const override { return logical; }
    void flush() override { ++flushes; }
    void stretchCopy(const Sprite& source, const Rect& sourcePixels, const Rect& destination) override
    {
        copies.push_back({sourcePixels, destination, source.width(), source.height()});
        if (!canvas_)
            return;
        const Rect& d = destination;
        const int left = std::min(d.left, d.right), right = std::max(d.left, d.right);
        const int top = std::min(d.top, d.bottom), bottom = std::max(d.top, d.bottom);
        for (int y = std::max(top, 0); y < std::min(bottom, canvas_->height()); ++y)
            for (int x = std::max(left, 0); x < std::min(right, canvas_->width()); ++x) {
                double tx = (x + 0.5 - left) / (right - left);
                double ty = (y + 0.5 - top) / (bottom - top);
                if (d.right < d.left)
                    tx = 1 - tx;
                if (d.bottom < d.top)
                    ty = 1 - ty;
                const int sx = sourcePixels.left + int(tx * sourcePixels.width());
                const int sy = sourcePixels.top + int(ty * sourcePixels.height());
                if (source.mask() && !source.mask()->pixelAt(sx, sy))
                    continue;
                canvas_->setPixelAt(x, y, source.colourWordOf(source.pixelAt(sx, sy)) >> 8);
            }
    }

    std::vector<Copy> copies;
    int flushes = 0;

private:
    Sprite* canvas_;
};

} // namespace celvane::test
