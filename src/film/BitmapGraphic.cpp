#include "film/BitmapGraphic.h"

#include "base/StringTable.h"
#include "film/FileType.h"
#include "gfx/BitmapFile.h"

namespace celvane {

void BitmapGraphic::getSummary(GraphicSummary& summary) const
{
    summary.frameCount += 1;
}

void BitmapGraphic::getFrameDescription(int, ImageInfo& info) { info = ImageInfo::describing(image_, name_); }

void BitmapGraphic::setFrameSelected(int frame, bool on)
{
    if (frame == 0)
        selected_ = on;
}

void BitmapGraphic::load(int, const ImageInfo*, const ByteSpan* data, int)
{
    if (!data)
        throw NotSupportedError("a bitmap needs its data", IDS_CANNOT_LOAD_TYPE);
    const BitmapFileParts parts = splitBitmapFile(*data);
    image_.createFromDib(parts.headerAndTable, parts.pixels);
}

size_t BitmapGraphic::save(ByteWriter* out, int fileType, bool)
{
    if (fileType != FileType::Bitmap)
        throw NotSupportedError("a bitmap is saved as a bitmap", IDS_CANNOT_EXPORT_FORMAT);
    return image_.write(out, SpriteWriteKind::Bitmap, true);
}

bool BitmapGraphic::isOfFileType(int type) const
{
    return type == FileType::Bitmap || type == FileType::TransparentBitmap || type == FileType::MaskedBitmap;
}

} // namespace celvane
