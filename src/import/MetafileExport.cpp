#include "import/MetafileExport.h"

#include <QPainter>

#include "base/StringTable.h"
#include "film/FileType.h"
#include "gfx/Sprite.h"
#include "import/MetafileGraphic.h"
#include "import/MetafileRecorder.h"
#include "platform/SpriteImage.h"

namespace celvane {

namespace {

// The sprite's picture with its mask (or transparent colour) as clear pixels.
QImage withTransparency(const Sprite& sprite)
{
    QImage image = spriteToImage(sprite).convertToFormat(QImage::Format_ARGB32);
    const Sprite* mask = sprite.mask();
    const bool keyed = !mask && sprite.hasTransparentColour() && !sprite.solid();
    const uint32_t key = keyed ? sprite.pixelValueOf(sprite.transparentColour()) : 0;
    if (!mask && !keyed)
        return image;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const bool clear = mask ? mask->pixelAt(x, y) == 0 : sprite.pixelAt(x, y) == key;
            if (clear)
                line[x] = 0;
        }
    }
    return image;
}

} // namespace

size_t saveFrameAsMetafile(Graphic& graphic, int frame, int fileType, ByteWriter& out)
{
    const MetafileKind kind = fileType == FileType::Metafile ? MetafileKind::Windows : MetafileKind::Enhanced;
    if (auto* metafile = dynamic_cast<MetafileGraphic*>(&graphic); metafile && frame == 0)
        return metafile->save(&out, fileType, false);
    const size_t before = out.written();
    if (const auto* vector = dynamic_cast<const VectorGraphic*>(&graphic); vector && frame == 0) {
        out.bytes(vector->recorded(kind));
        return out.written() - before;
    }
    const Sprite* image = graphic.workingImage(frame);
    if (!image)
        throw NotSupportedError("this picture has no image", IDS_CANNOT_EXPORT_FORMAT);
    MetafileRecorder recorder(image->logicalWidth(), image->logicalHeight());
    {
        QPainter painter(&recorder);
        painter.drawImage(QRectF(0, 0, image->logicalWidth(), image->logicalHeight()), withTransparency(*image));
    }
    out.bytes(recorder.finish(kind));
    return out.written() - before;
}

} // namespace celvane
