#include "gfx/BitmapFile.h"

#include "base/StringTable.h"

namespace celvane {

BitmapFileParts splitBitmapFile(ByteSpan file)
{
    ByteReader r(file, IDS_FORMAT_NOT_UNDERSTOOD);
    if (r.u8() != 'B' || r.u8() != 'M')
        r.fail("not a bitmap file");
    r.skip(8);
    const uint32_t pixelOffset = r.u32();
    if (pixelOffset < 14 || pixelOffset > file.size())
        r.fail("pixel offset outside the file");
    return {file.subspan(14, pixelOffset - 14), file.subspan(pixelOffset)};
}

} // namespace celvane
