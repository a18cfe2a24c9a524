#include "gfx/BitmapFile.h"

#include "base/StringTable.h"

namespace celvane {

BitmapFileParts splitBitmapFile(ByteSpan file)
{
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        throw ArchiveError("not a bitmap file", IDS_FORMAT_NOT_UNDERSTOOD);
    ByteReader r(file);
    r.skip(10);
    const uint32_t pixelOffset = r.u32();
    if (pixelOffset < 14 || pixelOffset > file.size())
        r.fail("pixel offset outside the file");
    return {file.subspan(14, pixelOffset - 14), file.subspan(pixelOffset)};
}

} // namespace celvane
