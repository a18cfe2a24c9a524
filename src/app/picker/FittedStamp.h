#pragma once
// A stamp drawn as a picker icon: through the plotting engine, as the stamp tool would draw
// it, as large as fits the icon (less a pixel all round) and keeping its shape.

#include <cstdint>

class QPainter;
class QRect;

namespace celvane {

class StampSet;

// `icon` is already filled with the painter's background; `flags` are plot flags (a single
// colour is drawn black on a light background, white on a dark one).
void paintFittedStamp(StampSet& stamps, int n, uint32_t flags, QPainter& painter, const QRect& icon);

} // namespace celvane
