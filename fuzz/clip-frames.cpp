// Frames pasted or dropped: the first byte says which clipboard format carries the rest (our
// stamps, or a bitmap with or without its file header), read as pasting reads it.
#include <QMimeData>

#include "FuzzSupport.h"
#include "base/Errors.h"
#include "platform/FrameClipboard.h"

using namespace celvane;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const char* format = data[0] & 1 ? "image/bmp" : FrameClipboard::kStampsFormat;
    QMimeData mime;
    mime.setData(format, QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    std::optional<FrameClipboard::Contents> contents;
    try {
        contents = FrameClipboard::contentsOf(&mime);
    } catch (const Error&) {
        return 0;
    }
    if (contents)
        fuzz::loadAndShow(contents->fileType, contents->data);
    return 0;
}
