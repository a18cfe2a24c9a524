#include "gfx/BitmapFile.h"

#include "base/StringTable.h"
#include "gfx/DibInput.h"
#include "gfx/DibLayout.h"

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

Bytes asBitmapFile(ByteSpan bitmap)
{
    if (bitmap.size() >= 2 && bitmap[0] == 'B' && bitmap[1] == 'M')
        return Bytes(bitmap.begin(), bitmap.end());
    const size_t offset = kFileHeaderSize + DibInput::pixelOffset(bitmap);
    Bytes file;
    file.reserve(kFileHeaderSize + bitmap.size());
    ByteWriter w(&file);
    w.u8('B');
    w.u8('M');
    w.u32(uint32_t(kFileHeaderSize + bitmap.size()));
    w.u32(0); // reserved
    w.u32(uint32_t(offset));
    w.bytes(bitmap.data(), bitmap.size());
    return file;
}

} // namespace celvane
