#include "import/MetafileGraphic.h"

#include "base/Chunks.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "import/MetafilePlayer.h"

namespace celvane {

void MetafileGraphic::load(int, const ImageInfo*, const ByteSpan* data, int)
{
    if (!data)
        throw NotSupportedError("a metafile needs its data", IDS_CANNOT_LOAD_METAFILE);
    data_ = readMetafile(*data);
    pictureChanged();
}

size_t MetafileGraphic::save(ByteWriter* out, int fileType, bool)
{
    const bool metafile = fileType == FileType::Metafile || fileType == FileType::EnhancedMetafile;
    if (data_.records.empty() || (!metafile && fileType != FileType::StampFile))
        throw NotSupportedError("a metafile is saved as a metafile", IDS_CANNOT_EXPORT_FORMAT);
    ByteWriter counter;
    ByteWriter& to = out ? *out : counter;
    const size_t before = to.written();
    if (fileType == FileType::StampFile) {
        // A stamp chunk holds a Windows metafile without its placeable header, which gives
        // the picture its size: such a one goes in as an enhanced metafile instead.
        const bool windows = data_.kind == MetafileKind::Windows && !data_.placeable;
        const Bytes bytes = data_.kind == MetafileKind::Enhanced || windows ? data_.records
                                                                             : recorded(MetafileKind::Enhanced);
        const size_t padded = (bytes.size() + 3) / 4 * 4;
        writeChunkHeader(to, tagForFileType(windows ? FileType::Metafile : FileType::EnhancedMetafile),
                         uint32_t(8 + padded));
        to.bytes(bytes);
        to.zeros(padded - bytes.size());
    } else if (fileType == FileType::EnhancedMetafile && data_.kind == MetafileKind::Enhanced) {
        to.bytes(data_.records);
    } else if (fileType == FileType::Metafile && data_.kind == MetafileKind::Windows && data_.placeable) {
        // Its own header: the bounds are in the units of its records.
        data_.placeable->write(to);
        to.bytes(data_.records);
    } else {
        to.bytes(recorded(fileType == FileType::Metafile ? MetafileKind::Windows : MetafileKind::Enhanced));
    }
    return to.written() - before;
}

void MetafileGraphic::draw(QPainter& painter, const QRectF& into) const { playMetafile(data_, painter, into); }

bool MetafileGraphic::isOfFileType(int type) const
{
    return type == FileType::Metafile || type == FileType::EnhancedMetafile;
}

} // namespace celvane
