#include <gtest/gtest.h>

#include <QPainter>

#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "platform/QtDrawingContext.h"
#include "platform/SpriteImage.h"

using namespace celvane;

namespace {

// 4 x 2 pixels of distinct colours of the 8-bit default.
Sprite numbered()
{
    Sprite s;
    s.create(4, 2, 0, 0, 8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            s.setPixelAt(x, y, uint32_t(2 + x + 4 * y));
    return s;
}

QRgb colourAt(const Sprite& s, int x, int y)
{
    const uint32_t c = rgbOfWord(s.colourWordOf(s.pixelAt(x, y)));
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

// The source stretched onto an 8 x 4 white image.
QImage copied(const Sprite& source, const Rect& from, const Rect& to)
{
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform); // the copy must not smooth anyway
    QtDrawingContext(painter).stretchCopy(source, from, to);
    return image;
}

} // namespace

TEST(QtDrawingContext, StretchCopyScalesAndMirrorsWithoutSmoothing)
{
    const Sprite s = numbered();
    const QImage plain = copied(s, {0, 0, 4, 2}, {0, 0, 8, 4});
    const QImage acrossX = copied(s, {0, 0, 4, 2}, {8, 0, 0, 4});
    const QImage acrossY = copied(s, {0, 0, 4, 2}, {0, 4, 8, 0});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(plain.pixel(x, y), colourAt(s, x / 2, y / 2)) << x << "," << y;
            ASSERT_EQ(acrossX.pixel(x, y), colourAt(s, 3 - x / 2, y / 2)) << x << "," << y;
            ASSERT_EQ(acrossY.pixel(x, y), colourAt(s, x / 2, 1 - y / 2)) << x << "," << y;
        }

    // A source rectangle reaching past the sprite keeps its mapping; the missing part is not drawn.
    const QImage part = copied(s, {2, 0, 6, 2}, {0, 0, 4, 2});
    EXPECT_EQ(part.pixel(1, 1), colourAt(s, 3, 1));
    EXPECT_EQ(part.pixel(2, 0), qRgb(255, 255, 255));
}

TEST(QtDrawingContext, ToDeviceFollowsThePainter)
{
    QImage image(8, 8, QImage::Format_RGB32);
    QPainter painter(&image);
    const QtDrawingContext context(painter);
    painter.scale(2, 2);
    painter.translate(1, 0);
    EXPECT_EQ(context.toDevice({0, 0, 3, 2}), (Rect{2, 0, 8, 4}));
    painter.resetTransform();
    painter.scale(1.5, 1.5);
    EXPECT_EQ(context.toDevice({1, 1, 2, 2}), (Rect{1, 1, 3, 3})); // 1.5 ... 3 covers pixels 1 and 2
}

TEST(SpriteImage, ImagesCarryTheSpritesPixelsAtEveryDepth)
{
    for (int bits : {1, 4, 8, 16, 32}) {
        Sprite s;
        s.create(13, 3, 0, 0, bits);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x) {
                const uint32_t v = uint32_t(x * 7 + y * 13);
                // Distinct colours only: indices 3 ... 31 of the 8-bit default.
                s.setPixelAt(x, y, bits == 8 ? 3 + v % 29 : bits == 16 ? v * 331 % 0x8000 : bits == 32 ? v * 0x010305 : v);
            }
        const QImage image = spriteToImage(s);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x) {
                const uint32_t colour = rgbOfWord(s.colourWordOf(s.pixelAt(x, y)));
                ASSERT_EQ(image.pixel(x, y), qRgb(redOf(colour), greenOf(colour), blueOf(colour)))
                    << bits << " bits at " << x << "," << y;
            }
        EXPECT_EQ(image.format(), bits == 1   ? QImage::Format_Mono
                                  : bits <= 8 ? QImage::Format_Indexed8
                                              : QImage::Format_RGB32);
        const QImage part = spriteToImage(s, {3, 1, 40, 3}); // clipped to the sprite
        ASSERT_EQ(part.size(), QSize(10, 2));
        EXPECT_EQ(part.pixel(0, 0), image.pixel(3, 1));
        EXPECT_EQ(part.pixel(9, 1), image.pixel(12, 2));

        Sprite back;
        back.create(13, 3, 0, 0, bits, s.palette());
        SpritePixelWriter().write(image, back);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(back.pixelAt(x, y), s.pixelAt(x, y)) << bits << " bits at " << x << "," << y;
        EXPECT_THROW(SpritePixelWriter().write(part, back), NotSupportedError);
    }
}

TEST(SpriteImage, OnlyThePixelsThatChangedAreWrittenBack)
{
    // The spare byte of a 32-bit pixel, which images do not carry, stays where nothing was drawn.
    Sprite s;
    s.create(5, 4, 0, 0, 32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            s.setPixelAt(x, y, 0xAB000000u | rgb(10 * x, 20 * y, 7));
    const QImage before = spriteToImage(s);
    QImage drawn = before;
    drawn.setPixel(2, 1, qRgb(200, 100, 50));
    SpritePixelWriter().write(drawn, s, &before);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(s.pixelAt(x, y), x == 2 && y == 1 ? rgb(200, 100, 50) : 0xAB000000u | rgb(10 * x, 20 * y, 7))
                << x << "," << y;
}
