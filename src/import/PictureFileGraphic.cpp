#include "import/PictureFileGraphic.h"

#include "base/StringTable.h"
#include "film/FileType.h"
#include "platform/ImageFiles.h"

namespace celvane {

void PictureFileGraphic::load(int insertAt, const ImageInfo* description, const ByteSpan* data, int fileType)
{
    if (!data)
        throw NotSupportedError("a picture needs its data", IDS_CANNOT_LOAD_TYPE);
    const Bytes bitmap = imageFileAsBitmap(*data);
    const ByteSpan asBitmap(bitmap);
    BitmapGraphic::load(insertAt, description, &asBitmap, fileType);
}

bool PictureFileGraphic::isOfFileType(int type) const { return type == FileType::Png || type == FileType::Jpeg; }

} // namespace celvane
