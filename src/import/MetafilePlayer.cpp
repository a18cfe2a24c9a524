#include "import/MetafilePlayer.h"

#include "gfx/DibInput.h"
#include "gfx/Sprite.h"
#include "platform/SpriteImage.h"

namespace celvane {

namespace {
constexpr uint32_t kCompressionJpeg = 4, kCompressionPng = 5;
} // namespace

QImage dibToImage(ByteSpan headerAndTable, ByteSpan bits)
{
    if (headerAndTable.size() >= 20) {
        const uint32_t compression = loadLE32(headerAndTable.data() + 16);
        if (loadLE32(headerAndTable.data()) >= 40 && (compression == kCompressionJpeg || compression == kCompressionPng))
            return QImage::fromData(bits.data(), int(std::min<size_t>(bits.size(), INT32_MAX)));
    }
    try {
        Sprite sprite;
        sprite.createFromDib(headerAndTable, bits);
        return spriteToImage(sprite).convertToFormat(QImage::Format_RGB32);
    } catch (const Error&) {
        return {};
    }
}

QImage packedDibToImage(ByteSpan dib)
{
    try {
        const size_t at = DibInput::pixelOffset(dib);
        return dibToImage(dib.first(at), dib.subspan(at));
    } catch (const Error&) {
        return {};
    }
}

MetafilePlayCount playMetafile(const MetafileData& metafile, QPainter& painter, const QRectF& target)
{
    return metafile.kind == MetafileKind::Enhanced ? playEnhancedRecords(metafile, painter, target)
                                                   : playWindowsRecords(metafile, painter, target);
}

} // namespace celvane
