#pragma once
// The dotted grid of a film window: where its lines are and whether points snap to it.

#include <functional>

#include "gfx/Rect.h"

namespace celvane {

class Settings;

struct GridSettings {
    // What the stored default grid may be.
    static constexpr int kMinSpacing = 2, kMaxSpacing = 200;
    static constexpr int kMinDivisions = 1, kMaxDivisions = 10;

    bool show = false;
    bool lock = false;
    int xSpacing = 64;
    int ySpacing = 64;
    int xSubDivs = 4;
    int ySubDivs = 4;

    // The stored grid; a missing "YSubDivs" takes the X count.
    static GridSettings load(const Settings& settings);
    void save(Settings& settings) const;

    // Snaps a frame coordinate to the nearest subdivision (when locked).
    int snapX(int x) const { return snap(x, xSpacing, xSubDivs); }
    int snapY(int y) const { return snap(y, ySpacing, ySubDivs); }

    // Visits every pixel to invert (in client pixels) for the grid of a frame shown in
    // `frameRect` (frame of `frameWidth` x `frameHeight` pixels), limited to `area`. Inverting
    // twice removes a mark, so the visit may name a pixel more than once on purpose.
    void forEachMark(const Rect& frameRect, int frameWidth, int frameHeight, const Rect& area,
                     const std::function<void(int x, int y)>& invert) const;

private:
    static int snap(int v, int spacing, int subDivs);
};

} // namespace celvane
