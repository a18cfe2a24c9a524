#include "platform/SpriteImage.h"

#include <cstring>

#include "base/ByteIO.h"
#include "base/Errors.h"
#include "gfx/Colour.h"
#include "gfx/DibLayout.h"

namespace celvane {

namespace {

QRgb toQRgb(uint32_t rgbValue) { return qRgb(redOf(rgbValue), greenOf(rgbValue), blueOf(rgbValue)); }
uint32_t fromQRgb(QRgb c) { return rgb(qRed(c), qGreen(c), qBlue(c)); }

} // namespace

QImage spriteToImage(const Sprite& sprite)
{
    return spriteToImage(sprite, {0, 0, sprite.width(), sprite.height()});
}

QImage spriteToImage(const Sprite& sprite, const Rect& requested)
{
    const Rect area = requested.intersected({0, 0, sprite.width(), sprite.height()});
    if (sprite.empty() || area.isEmpty())
        return {};
    const int bits = sprite.bitsPerPixel();
    if (!isPaletteDepth(bits)) {
        QImage image(area.width(), area.height(), QImage::Format_RGB32);
        for (int y = 0; y < area.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            if (bits == 32) {
                // Whole frames go through here on every drawing: read the row, not pixel by pixel.
                const uint8_t* from = sprite.rowAddress(area.top + y) + 4 * size_t(area.left);
                for (int x = 0; x < area.width(); ++x)
                    line[x] = toQRgb(loadLE32(from + 4 * size_t(x)));
            } else {
                for (int x = 0; x < area.width(); ++x)
                    line[x] = toQRgb(rgbOfWord(sprite.colourWordOf(sprite.pixelAt(area.left + x, area.top + y))));
            }
        }
        return image;
    }
    QImage image(area.width(), area.height(), bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    // Every possible pixel value gets a colour, whatever the palette's count.
    QList<QRgb> table(1 << bits);
    for (int i = 0; i < table.size(); ++i)
        table[i] = toQRgb(sprite.palette() ? rgbOfWord(sprite.palette()->entry(i)) : 0);
    image.setColorTable(table);
    if (bits == 1)
        image.fill(0);
    for (int y = 0; y < area.height(); ++y) {
        uchar* line = image.scanLine(y);
        if (bits == 8) {
            std::memcpy(line, sprite.rowAddress(area.top + y) + area.left, size_t(area.width()));
            continue;
        }
        for (int x = 0; x < area.width(); ++x) {
            const uint32_t pixel = sprite.pixelAt(area.left + x, area.top + y);
            if (bits == 1)
                line[x >> 3] = uchar(line[x >> 3] | (pixel << (7 - (x & 7))));
            else
                line[x] = uchar(pixel);
        }
    }
    return image;
}

void SpritePixelWriter::write(const QImage& image, Sprite& sprite, const QImage* unchanged)
{
    if (image.width() != sprite.width() || image.height() != sprite.height()
        || (unchanged && unchanged->size() != image.size()))
        throw NotSupportedError("image and sprite of different sizes");
    const QImage now = image.convertToFormat(QImage::Format_RGB32);
    const QImage before = unchanged ? unchanged->convertToFormat(QImage::Format_RGB32) : QImage();
    // A 32-bit pixel is the colour itself, stored red first.
    const bool direct = sprite.bitsPerPixel() == 32;
    for (int y = 0; y < now.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(now.constScanLine(y));
        const auto* old = unchanged ? reinterpret_cast<const QRgb*>(before.constScanLine(y)) : nullptr;
        uint8_t* row = sprite.rowAddress(y);
        for (int x = 0; x < now.width(); ++x) {
            if (old && !((line[x] ^ old[x]) & 0xFFFFFF))
                continue;
            if (direct)
                storeLE32(row + 4 * size_t(x), fromQRgb(line[x]));
            else
                sprite.setPixelAt(x, y, pixelFor(sprite, fromQRgb(line[x])));
        }
    }
}

uint32_t SpritePixelWriter::pixelFor(const Sprite& sprite, uint32_t rgbValue)
{
    const Palette* palette = sprite.palette().get();
    if (!isPaletteDepth(sprite.bitsPerPixel()) || !palette)
        return sprite.pixelValueForRgb(rgbValue);
    if (palette != palette_ || palette->changeStamp() != stamp_) {
        nearest_.clear();
        palette_ = palette;
        stamp_ = palette->changeStamp();
    }
    const auto [it, added] = nearest_.try_emplace(rgbValue, 0);
    if (added)
        it->second = sprite.pixelValueForRgb(rgbValue);
    return it->second;
}

} // namespace celvane
