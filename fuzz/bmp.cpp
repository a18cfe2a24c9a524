// A bitmap file opened as a picture, and as the two kinds of bitmap a stamp file holds (with a
// transparent colour or a mask bitmap after it).
#include "FuzzSupport.h"
#include "film/FileType.h"

using namespace celvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int type : {FileType::Bitmap, FileType::TransparentBitmap, FileType::MaskedBitmap})
        fuzz::loadAndShow(type, fuzz::spanOf(data, size));
    return 0;
}
