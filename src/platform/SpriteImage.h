#pragma once
// Sprites as Qt images and back. Sprite rows are bottom-up with red in the low bits; images are
// top-down QRgb.

#include <QImage>
#include <cstdint>
#include <unordered_map>

#include "gfx/Rect.h"
#include "gfx/Sprite.h"

namespace celvane {

// The pixels of `area` (top-down pixel coordinates, clipped to the sprite): palette depths as
// Mono (1 bit) or Indexed8 with the palette as colour table, 16 and 32 bits as RGB32. A null
// image when nothing is left.
QImage spriteToImage(const Sprite& sprite, const Rect& area);
QImage spriteToImage(const Sprite& sprite);

// Writes image colours into a sprite: exactly at 16 and 32 bits, as the nearest palette entry
// at palette depths. The entry found for each colour is kept until the palette changes, since
// drawings use few colours over many pixels.
class SpritePixelWriter {
public:
    // `image` must have the sprite's pixel size (NotSupportedError otherwise). Pixels equal to
    // those of `unchanged` (same size, or null) are left alone.
    void write(const QImage& image, Sprite& sprite, const QImage* unchanged = nullptr);

private:
    uint32_t pixelFor(const Sprite& sprite, uint32_t rgbValue);

    std::unordered_map<uint32_t, uint32_t> nearest_; // RGB value -> stored index
    const Palette* palette_ = nullptr;
    uint32_t stamp_ = 0;
};

} // namespace celvane
