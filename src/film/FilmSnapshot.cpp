#include "film/FilmSnapshot.h"

#include "film/FrameCodec.h"

namespace celvane {

Bytes FilmSnapshot::fileBytes() const
{
    FilmBlock block = block_;
    if (frame_ >= 0) {
        Bytes record;
        encodeFrame(FrameRows{pixels_.data() + stride_ * size_t(rows_ - 1), -ptrdiff_t(stride_), rowBytes_, rows_,
                              bitsPerPixel_},
                    record);
        if (firstOfEmptyFilm_)
            block.insertRecord(0, record);
        else
            block.replaceRecord(frame_, record);
    }
    block.closeGap();
    Bytes file;
    file.reserve(8 + block.storedSize(false) + rest_.size());
    ByteWriter out(&file);
    block.writeChunk(out, false);
    out.bytes(rest_);
    return file;
}

} // namespace celvane
