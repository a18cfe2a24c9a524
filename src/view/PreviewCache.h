#pragma once
// Ghosting and in-betweening: neighbouring frames averaged with the paper colour (the blend),
// dithered to the depth the window shows, and the current frame drawn over the blend wherever
// it is not paper (the composite). The blend is rebuilt only when the neighbours, the depth or
// the paper change; drawing re-composes only the changed rectangle.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/Rect.h"
#include "gfx/Sprite.h"

namespace celvane {

class Film;

namespace PreviewLevels {
constexpr int kCount = 6;
// The neighbours of a level as offsets from the current frame, in the order they are blended.
std::span<const int> offsets(int level);
// What the explanation window says about a level.
const char* explanation(int level);
// The frames a level blends, in order: Loop wraps round the ends; a frame outside the film, the
// current frame and a frame already taken are left out.
std::vector<int> neighbours(int level, int current, int frameCount, bool loop);
} // namespace PreviewLevels

class PreviewCache {
public:
    // Makes the blend of `frames` (each read without moving the film) unless it is already made
    // of them at this depth, on this paper, with this palette. `depth` is 1, 4, 8, 16 or 32. True when it was rebuilt, after which the
    // whole composite is stale.
    bool buildBlend(const Film& film, const std::vector<int>& frames, int depth);
    void markStale() { valid_ = false; }
    bool valid() const { return valid_; }

    // Re-composes `rect` (frame pixels, clipped to the frame): the blend with `frame` (the
    // current frame, or a tool's provisional image) over it, paper transparent.
    void buildComposite(const Sprite& frame, const Rect& rect);
    const Sprite& composite() const { return composite_; }
    const Sprite& blend() const { return blend_; }

    // Floyd-Steinberg in serpentine order, in 28-bit fixed point, of RGB values (0x00BBGGRR,
    // row by row from the top) into palette indices packed into `into`, through the nearest
    // colour of each 4-bit-per-channel cube cell. Public for the tests and the benchmark.
    static void dither(const std::vector<uint32_t>& rgb, Sprite& into, const std::vector<uint8_t>& inverse,
                       const std::vector<std::array<int32_t, 3>>& fixedPalette);
    // The fixed-point value of an 8-bit channel: v x 2^28 / 255.
    static int32_t fixedOf(int v);
    // The nearest palette index of each 4-bit cube cell, and the palette in fixed point.
    static std::vector<uint8_t> inverseTable(const Palette& palette);
    static std::vector<std::array<int32_t, 3>> fixedPalette(const Palette& palette);

private:
    void create(const Film& film, int depth);
    void accumulate(const Film& film, const std::vector<int>& frames);
    void writeBlend();

    Sprite blend_;
    Sprite composite_;
    int depth_ = 0;
    uint32_t paper_ = 0;
    // The palette's change stamp when the dithering tables were made from it.
    uint32_t paletteStamp_ = 0;
    std::vector<int> frames_;
    bool valid_ = false;
    std::vector<uint32_t> accumulator_;
    Sprite neighbour_;
    std::vector<uint8_t> inverse_;
    std::vector<std::array<int32_t, 3>> fixedPalette_;
};

} // namespace celvane
