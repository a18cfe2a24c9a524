#pragma once
// Films as FLIC animations: 8-bit full frames coded by byte runs, the first carrying the
// palette, and a ring frame (the first frame again) so that players loop smoothly.

#include <string>

#include "base/ByteIO.h"
#include "base/Progress.h"

namespace celvane {

class Film;

using ExportProgress = Progress;

// The whole FLIC file of every frame, or of the marked ones. UserCancel when the progress
// callback cancels.
Bytes writeFlic(const Film& film, bool selectionOnly, const ExportProgress& progress = {});

} // namespace celvane
