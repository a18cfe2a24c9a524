#include "film/BitmapGraphic.h"

#include "base/Errors.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "gfx/BitmapFile.h"

namespace celvane {

void BitmapGraphic::getSummary(GraphicSummary& summary) const
{
    summary.frameCount += 1;
}

void BitmapGraphic::getFrameDescription(int, ImageInfo& info) { info = ImageInfo::describing(image_, name_); }

namespace {
void loadBitmapFile(Sprite& image, ByteSpan file)
{
    const BitmapFileParts parts = splitBitmapFile(file);
    image.createFromDib(parts.headerAndTable, parts.pixels);
}

// The bitmap file's own idea of its length, which says where what follows it starts.
size_t bitmapFileSize(ByteSpan file)
{
    if (file.size() < 14 || file[0] != 'B' || file[1] != 'M')
        throw ArchiveError("not a bitmap file", IDS_FORMAT_NOT_UNDERSTOOD);
    const size_t size = loadLE32(&file[2]);
    if (size < 14 || size > file.size())
        throw ArchiveError("bitmap file size outside the data", IDS_FORMAT_NOT_UNDERSTOOD);
    return size;
}
} // namespace

void BitmapGraphic::load(int, const ImageInfo*, const ByteSpan* data, int fileType)
{
    if (!data)
        throw NotSupportedError("a bitmap needs its data", IDS_CANNOT_LOAD_TYPE);
    const ByteSpan file = *data;
    Sprite image;
    if (fileType == FileType::TransparentBitmap) {
        // The bitmap, padding, then the transparent colour word and the masked flag.
        if (file.size() < 8)
            throw ArchiveError("bitmap with a transparent colour too short", IDS_FORMAT_NOT_UNDERSTOOD);
        const ByteSpan bitmap = file.first(file.size() - 8);
        bitmapFileSize(bitmap);
        loadBitmapFile(image, bitmap);
        image.setTransparentColour(loadLE32(&file[file.size() - 8]), loadLE32(&file[file.size() - 4]) == 1);
    } else if (fileType == FileType::MaskedBitmap) {
        // The image's bitmap file, then the 1-bit mask's.
        const size_t size = bitmapFileSize(file);
        Sprite mask;
        loadBitmapFile(mask, file.subspan(size));
        loadBitmapFile(image, file.first(size));
        if (mask.width() != image.width() || mask.height() != image.height() || mask.bitsPerPixel() != 1)
            throw ArchiveError("mask does not fit its image", IDS_FORMAT_NOT_UNDERSTOOD);
        image.ensureMask().copyPixelsFrom(mask);
    } else {
        loadBitmapFile(image, file);
    }
    image_ = std::move(image);
}

size_t BitmapGraphic::save(ByteWriter* out, int fileType, bool selectionOnly)
{
    if (fileType == FileType::StampFile) {
        // A chunk saying whether a transparent colour or a mask follows the bitmap.
        if (selectionOnly && !selected_)
            return 0;
        return image_.write(out, SpriteWriteKind::FilmChunk, true);
    }
    if (fileType != FileType::Bitmap)
        throw NotSupportedError("a bitmap is saved as a bitmap", IDS_CANNOT_EXPORT_FORMAT);
    return image_.write(out, SpriteWriteKind::Bitmap, true);
}

bool BitmapGraphic::isOfFileType(int type) const
{
    return type == FileType::Bitmap || type == FileType::TransparentBitmap || type == FileType::MaskedBitmap;
}

} // namespace celvane
