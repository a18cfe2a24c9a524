#pragma once
// A BMP file split into what Sprite::createFromDib takes: the information header with its
// colour table, and the pixels. Only the file header is checked here; the rest is the DIB's.

#include "base/ByteIO.h"

namespace celvane {

struct BitmapFileParts {
    ByteSpan headerAndTable;
    ByteSpan pixels;
};

// ArchiveError when the file is no bitmap (with the "format not understood" message) or its
// header points outside the file.
BitmapFileParts splitBitmapFile(ByteSpan file);

// A bitmap file of a bitmap given either as a file or as a packed DIB (no file header, as
// clipboards carry it). Errors as splitBitmapFile's and DibInput's.
Bytes asBitmapFile(ByteSpan bitmap);

} // namespace celvane
