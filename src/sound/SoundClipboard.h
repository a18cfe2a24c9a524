#pragma once
// The sound clipboard's own form, also what a dragged sound carries: the chunk set of the
// selected sounds followed by a 32-bit -1 as the end mark.

#include "base/ByteIO.h"

namespace celvane {

class SoundLibrary;

// The selected sounds of `library`; empty when none is selected.
Bytes copySounds(const SoundLibrary& library);
// Adds the sounds of `data`, read up to its end mark, that `library` does not hold yet; returns
// where the library holds each of them. Throws ArchiveError on data that does not hold together.
std::vector<int> pasteSounds(SoundLibrary& library, ByteSpan data);

} // namespace celvane
