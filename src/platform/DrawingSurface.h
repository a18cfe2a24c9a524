#pragma once
// Drawing into a sprite with QPainter: text, lines and metafiles drawn through a surface land
// in the sprite's own pixels. The surface paints on an RGB32 copy of the sprite and writes back
// only the pixels that changed: exactly at 16 and 32 bits, as the nearest palette entry at
// palette depths. Coordinates are the sprite's logical units. The painter starts without
// antialiasing; palette sprites must stay so, since blended edges would turn into stray
// near-colours, and their text must come through SurfaceLease::setFont.
//
// The last sprite drawn on keeps its surface (buffers and colour matches) until another sprite
// takes the cache, releaseIdleSurface has run kIdlePasses times, or the sprite's pixels go.

#include <QPainter>
#include <memory>

#include "gfx/DrawingContext.h"
#include "gfx/Sprite.h"

namespace celvane {

class SpriteSurface;

// One use of a sprite's drawing surface; what was drawn lands in the sprite on release() or
// destruction (a failure to write it back is lost on destruction: call release() to see it).
// The sprite may be read directly after flush().
class SurfaceLease {
public:
    explicit SurfaceLease(std::shared_ptr<SpriteSurface> surface);
    SurfaceLease(SurfaceLease&& other) noexcept = default;
    SurfaceLease& operator=(SurfaceLease&&) = delete;
    ~SurfaceLease();

    QPainter& painter() const;
    // A context on the painter whose flush() writes back what was drawn so far.
    DrawingContext& context() const;
    void flush() const;
    // The painter's font, made unsmoothed on palette sprites (the painter's text hint alone
    // does not stop the smoothing).
    void setFont(const QFont& font) const;
    void release();

private:
    std::shared_ptr<SpriteSurface> surface_;
};

constexpr int kIdlePasses = 50000;

// A use of the sprite's surface, made (and cached) if need be. The painter starts from the
// sprite's current pixels, with a transform from logical units to pixels.
SurfaceLease drawingSurface(Sprite& sprite);
// Called on every idle pass of the program: after kIdlePasses without a new surface use the
// cached surface is dropped.
void releaseIdleSurface();
// The sprite whose surface is cached, or null.
const Sprite* cachedSurfaceSprite();

} // namespace celvane
