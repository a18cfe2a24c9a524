#include "import/MetafileGraphic.h"

#include "base/StringTable.h"
#include "film/FileType.h"
#include "import/MetafilePlayer.h"
#include "import/MetafileRecorder.h"

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
    if (data_.records.empty() || (fileType != FileType::Metafile && fileType != FileType::EnhancedMetafile))
        throw NotSupportedError("a metafile is saved as a metafile", IDS_CANNOT_EXPORT_FORMAT);
    ByteWriter counter;
    ByteWriter& to = out ? *out : counter;
    const size_t before = to.written();
    if (fileType == FileType::EnhancedMetafile && data_.kind == MetafileKind::Enhanced) {
        to.bytes(data_.records);
    } else if (fileType == FileType::Metafile && data_.kind == MetafileKind::Windows && data_.placeable) {
        // Its own header: the bounds are in the units of its records.
        data_.placeable->write(to);
        to.bytes(data_.records);
    } else {
        MetafileRecorder recorder(data_.displayWidth, data_.displayHeight);
        {
            QPainter painter(&recorder);
            draw(painter, QRectF(0, 0, data_.displayWidth, data_.displayHeight));
        }
        to.bytes(recorder.finish(fileType == FileType::Metafile ? MetafileKind::Windows : MetafileKind::Enhanced));
    }
    return to.written() - before;
}

void MetafileGraphic::draw(QPainter& painter, const QRectF& into) const { playMetafile(data_, painter, into); }

bool MetafileGraphic::isOfFileType(int type) const
{
    return type == FileType::Metafile || type == FileType::EnhancedMetafile;
}

} // namespace celvane
