#include "import/DrawfileGraphic.h"

#include "base/Chunks.h"
#include "base/StringTable.h"
#include "film/FileType.h"

namespace celvane {

void DrawfileGraphic::load(int, const ImageInfo*, const ByteSpan* data, int)
{
    if (!data)
        throw NotSupportedError("a Drawfile needs its data", IDS_CANNOT_LOAD_TYPE);
    picture_.emplace(*data);
    pictureChanged();
}

size_t DrawfileGraphic::save(ByteWriter* out, int fileType, bool)
{
    if (!picture_ || (fileType != FileType::Drawfile && fileType != FileType::StampFile))
        throw NotSupportedError("a Drawfile is saved as a Drawfile", IDS_CANNOT_EXPORT_FORMAT);
    const Bytes& bytes = picture_->bytes();
    ByteWriter counter;
    ByteWriter& to = out ? *out : counter;
    const size_t before = to.written();
    if (fileType == FileType::StampFile)
        writeChunkHeader(to, tagForFileType(FileType::Drawfile), uint32_t(8 + bytes.size()));
    to.bytes(bytes);
    return to.written() - before;
}

void DrawfileGraphic::draw(QPainter& painter, const QRectF& into) const
{
    if (picture_)
        picture_->draw(painter, into);
}

bool DrawfileGraphic::isOfFileType(int type) const { return type == FileType::Drawfile; }

} // namespace celvane
