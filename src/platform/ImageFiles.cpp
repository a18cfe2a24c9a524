#include "platform/ImageFiles.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cstring>

#include "base/StringTable.h"
#include "gfx/DibLayout.h"
#include "gfx/Sprite.h"
#include "platform/SpriteImage.h"

namespace celvane {

Bytes imageFileAsBitmap(ByteSpan data)
{
    QImage image;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSpriteSide || size.height() > kMaxSpriteSide
                           || qint64(size.width()) * size.height() > kMaxPicturePixels))
        throw ArchiveError("picture too large");
    if (!reader.read(&image) || image.isNull())
        throw ArchiveError("not a picture: " + reader.errorString().toStdString(), IDS_FORMAT_NOT_UNDERSTOOD);
    return imageAsBitmap(image);
}

Bytes imageAsBitmap(const QImage& picture)
{
    QImage image = picture;
    Sprite sprite;
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
        || image.format() == QImage::Format_MonoLSB) {
        image = image.convertToFormat(QImage::Format_Indexed8);
        PaletteRef palette = PaletteRef::make();
        palette->setCount(256);
        const QVector<QRgb> table = image.colorTable();
        for (int i = 0; i < table.size() && i < 256; ++i)
            palette->setEntry(i, (uint32_t(qBlue(table[i])) << 24) | (uint32_t(qGreen(table[i])) << 16)
                                     | (uint32_t(qRed(table[i])) << 8));
        sprite.create(image.width(), image.height(), image.width(), image.height(), 8, palette);
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(sprite.rowAddress(y), image.constScanLine(y), size_t(image.width()));
    } else {
        // Transparent areas show the paper they would lie on: white.
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        {
            QPainter painter(&opaque);
            painter.drawImage(0, 0, image);
        }
        sprite.create(opaque.width(), opaque.height(), opaque.width(), opaque.height(), 32);
        SpritePixelWriter().write(opaque, sprite);
    }
    Bytes bitmap;
    ByteWriter out(&bitmap);
    sprite.write(&out, SpriteWriteKind::Bitmap, true);
    return bitmap;
}

void writePngFile(const Sprite& picture, const std::string& path)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!spriteToImage(picture).save(&buffer, "PNG"))
        throw FileError("cannot make a PNG picture");
    writeFileAtomically(path, ByteSpan(reinterpret_cast<const uint8_t*>(png.constData()), size_t(png.size())));
}

} // namespace celvane
