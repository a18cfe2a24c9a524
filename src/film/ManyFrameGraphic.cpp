#include "film/ManyFrameGraphic.h"

#include "base/Errors.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "gfx/Sprite.h"

namespace celvane {

size_t ManyFrameGraphic::save(ByteWriter* out, int fileType, bool selectionOnly)
{
    if (fileType != FileType::StampFile)
        throw NotSupportedError("pictures of this kind are read, not written", IDS_CANNOT_EXPORT_FORMAT);
    GraphicSummary summary;
    getSummary(summary);
    size_t total = 0;
    for (int frame = 0; frame < summary.frameCount; ++frame) {
        if (selectionOnly && !isFrameSelected(frame))
            continue;
        const Sprite* image = workingImage(frame);
        if (!image)
            throw NotSupportedError("this picture has no bitmap", IDS_CANNOT_EXPORT_FORMAT);
        total += image->write(out, SpriteWriteKind::FilmChunk, true);
    }
    return total;
}

} // namespace celvane
