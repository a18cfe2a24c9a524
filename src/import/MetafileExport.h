#pragma once
// Any picture the program holds, written as a metafile: a metafile of the asked kind as it is,
// a vector picture drawn afresh, a bitmap (with its mask as transparency) drawn as an image.

#include "base/ByteIO.h"

namespace celvane {

class Graphic;

// Writes frame `frame` of `graphic` as FileType::Metafile (.wmf with a placeable header) or
// FileType::EnhancedMetafile; returns the byte count. NotSupportedError when the frame has
// no picture.
size_t saveFrameAsMetafile(Graphic& graphic, int frame, int fileType, ByteWriter& out);

} // namespace celvane
