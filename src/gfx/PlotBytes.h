#pragma once
// The quickest plot: 8-bit pixels onto an 8-bit sprite of the very same palette at the same
// size, where no pixel needs any colour work.

#include <cstdint>

namespace celvane {

class Sprite;
struct PreparedPlot;
struct Transparency;

// False when the plot is not of that kind (or replaces the transparent colour, which this
// path leaves to the general one); true when it was drawn.
bool plotSamePaletteBytes(const Sprite& source, Sprite& destination, const PreparedPlot& plot,
                          const Transparency& transparency, uint32_t flags, uint32_t colour);

} // namespace celvane
