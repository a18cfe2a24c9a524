#pragma once
// Reads a GIF file held in memory into the animation store: every image is composed onto a
// canvas as large as the screen and every image, and each composed picture becomes a frame.

#include "base/ByteIO.h"
#include "import/GifAnimation.h"

namespace celvane {

// Failures are thrown with the library's text: data that is not a GIF or is damaged
// (ArchiveError), frames that need a reducer (NotSupportedError), out of memory (MemoryError).
// The frames before a failure are not kept.
Animation readGif(ByteSpan data, ColourReducer* reducer = nullptr);

// Reads any GIF: when its pictures together need more colours than one palette holds, one
// palette is chosen for the whole file and every frame is mapped onto it.
Animation readGifReducing(ByteSpan data);

} // namespace celvane
