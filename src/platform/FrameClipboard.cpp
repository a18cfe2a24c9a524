#include "platform/FrameClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "film/FileType.h"
#include "gfx/BitmapFile.h"
#include "gfx/Sprite.h"
#include "platform/ImageFiles.h"
#include "platform/SpriteImage.h"

namespace celvane::FrameClipboard {

namespace {
// Bitmaps other programs put on the clipboard, in the order we prefer them.
constexpr const char* kBitmapFormats[] = {"image/bmp", "image/x-bmp", "image/x-ms-bmp", "image/x-win-bitmap"};
// Other pictures, read as files are.
constexpr const char* kPictureFormats[] = {"image/png", "image/jpeg"};

QByteArray bytesOf(const Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())); }
Bytes bytesOf(const QByteArray& b) { return Bytes(b.begin(), b.end()); }
} // namespace

QMimeData* mimeData(const Bytes& stamps, const Sprite& firstFrame)
{
    auto* data = new QMimeData;
    data->setData(kStampsFormat, bytesOf(stamps));
    Bytes bitmap;
    ByteWriter out(&bitmap);
    firstFrame.write(&out, SpriteWriteKind::Bitmap, true);
    data->setData("image/bmp", bytesOf(bitmap));
    data->setImageData(spriteToImage(firstFrame));
    return data;
}

void put(const Bytes& stamps, const Sprite& firstFrame)
{
    QGuiApplication::clipboard()->setMimeData(mimeData(stamps, firstFrame));
}

bool canPaste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    if (data->hasFormat(kStampsFormat) || data->hasImage())
        return true;
    for (const char* f : kBitmapFormats)
        if (data->hasFormat(f))
            return true;
    for (const char* f : kPictureFormats)
        if (data->hasFormat(f))
            return true;
    return false;
}

std::optional<Contents> take() { return contentsOf(QGuiApplication::clipboard()->mimeData()); }

std::optional<Contents> contentsOf(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    if (data->hasFormat(kStampsFormat)) {
        Bytes stamps = bytesOf(data->data(kStampsFormat));
        // The stamp file is followed by a word -1 on the clipboard.
        if (stamps.size() >= 4 && loadLE32(&stamps[stamps.size() - 4]) == 0xFFFFFFFFu)
            stamps.resize(stamps.size() - 4);
        return Contents{FileType::StampFile, std::move(stamps)};
    }
    for (const char* f : kBitmapFormats)
        if (data->hasFormat(f))
            return Contents{FileType::Bitmap, asBitmapFile(bytesOf(data->data(f)))};
    // Any other picture: handed over as a bitmap file.
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            return Contents{FileType::Bitmap, imageAsBitmap(image)};
    }
    for (const char* f : kPictureFormats)
        if (data->hasFormat(f))
            return Contents{FileType::Bitmap, imageFileAsBitmap(bytesOf(data->data(f)))};
    return std::nullopt;
}

} // namespace celvane::FrameClipboard
