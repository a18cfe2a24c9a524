#pragma once
// Pictures in the formats schools meet everywhere (PNG, JPEG), read and written through Qt's
// image readers. Read pictures are handed on as bitmap files, which the program loads like any
// other bitmap.

#include <string>

#include "base/ByteIO.h"

class QImage;

namespace celvane {

class Sprite;

// A PNG or JPEG file as a bitmap file (8 bits when the picture has a colour table of at most
// 256 colours, else 32 bits). ArchiveError with the "format not understood" message when the
// data is not a picture Qt can read.
Bytes imageFileAsBitmap(ByteSpan data);
// A picture already read, as a bitmap file in the same way.
Bytes imageAsBitmap(const QImage& image);

// A frame as a PNG file (written beside the target and renamed over it).
void writePngFile(const Sprite& picture, const std::string& path);

} // namespace celvane
