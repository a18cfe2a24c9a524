#pragma once
// The tests split bitmap files as the program does.

#include "gfx/BitmapFile.h"

namespace celvane::test {

using BmpParts = BitmapFileParts;
inline BmpParts splitBmp(ByteSpan file) { return splitBitmapFile(file); }

} // namespace celvane::test
