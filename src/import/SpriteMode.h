#pragma once
// The mode word of a RISC OS sprite: an old screen mode number, or a new-format word carrying
// the sprite type and its resolutions.

#include <cstdint>
#include <optional>

namespace celvane {

struct SpriteMode {
    int bitsPerPixel = 0;
    // Dots per inch times two, so that the 22.5 of the oldest modes stays exact.
    int xHalfDpi = 180;
    int yHalfDpi = 180;
    bool newFormat = false;
    // The mask holds 8 bits of opacity per pixel instead of 1 bit.
    bool alphaMask = false;
};

// The depth and resolutions of a mode word; nothing for words that name no depth (mode
// selectors, unknown sprite types). 2-bit modes are decoded: the caller decides about them.
std::optional<SpriteMode> decodeModeWord(uint32_t word);

} // namespace celvane
