#pragma once
// What the fuzz targets share: quiet Qt for the readers that paint, and a walk over every frame
// of whatever a graphic list loaded, as opening a file and looking at each frame would.

#include <cstddef>
#include <cstdint>

#include "base/ByteIO.h"
#include "film/Graphic.h"

namespace celvane::fuzz {

// A headless GUI application (fonts and painting) with Qt's own warnings silenced; once.
void startQt();

// A vector picture larger than a thumbnail is drawn once, shrunk to one, rather than plotted at
// its own size (drawn twice for its mask, up to 16 million pixels each time): every record is
// still played, and the sanitisers' time goes to the players. Says whether `graphic` was such a
// picture; the caller shows any other graphic as the program would.
bool drewShrunk(Graphic& graphic);

// Loads the data as a file of `fileType` and draws every frame it has. Refusals through the
// program's own errors are fine; anything else escapes to the fuzzer as a fault.
void loadAndShow(int fileType, ByteSpan data);

inline ByteSpan spanOf(const uint8_t* data, size_t size) { return ByteSpan(data, size); }

} // namespace celvane::fuzz
