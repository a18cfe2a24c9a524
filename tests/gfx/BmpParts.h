#pragma once
// Splits a BMP file into what Sprite::createFromDib takes. Only for tests: the file header is
// checked just enough to find the pixels.

#include "base/ByteIO.h"

namespace celvane::test {

struct BmpParts {
    ByteSpan headerAndTable;
    ByteSpan pixels;
};

inline BmpParts splitBmp(ByteSpan file)
{
    ByteReader r(file);
    if (r.u8() != 'B' || r.u8() != 'M')
        r.fail("not a bitmap file");
    r.skip(8);
    const uint32_t pixelOffset = r.u32();
    if (pixelOffset < 14 || pixelOffset > file.size())
        r.fail("pixel offset outside the file");
    return {file.subspan(14, pixelOffset - 14), file.subspan(pixelOffset)};
}

} // namespace celvane::test
