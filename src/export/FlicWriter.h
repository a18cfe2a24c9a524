#pragma once
// Films as FLIC animations: 8-bit full frames coded by byte runs, the first carrying the
// palette, and a ring frame (the first frame again) so that players loop smoothly.

#include <functional>
#include <string>

#include "base/ByteIO.h"

namespace celvane {

class Film;

// Told after each frame written (frames done, frames in all); returning false cancels.
using ExportProgress = std::function<bool(int done, int total)>;

// The whole FLIC file. UserCancel when the progress callback cancels.
Bytes writeFlic(Film& film, bool selectionOnly, const ExportProgress& progress = {});

} // namespace celvane
