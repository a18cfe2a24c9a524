#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <set>

#include "QtTestSupport.h"
#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "platform/DrawingSurface.h"

using namespace celvane;

namespace {

class DrawingSurfaceTest : public ::testing::Test {
protected:
    // Text needs the font database, which needs an application object.
    static void SetUpTestSuite() { test::ensureApplication(); }
    void TearDown() override
    {
        while (cachedSurfaceSprite())
            releaseIdleSurface();
    }
};

Sprite spriteOf(int width, int height, int bits, int logicalWidth = 0, int logicalHeight = 0)
{
    Sprite s;
    s.create(width, height, logicalWidth, logicalHeight, bits);
    return s;
}

} // namespace

TEST_F(DrawingSurfaceTest, RectangleAndLineLandInTheSpritesPixelsAtEveryDepth)
{
    const uint32_t paint = rgb(250, 10, 10);
    for (int bits : {1, 4, 8, 16, 32}) {
        Sprite s = spriteOf(20, 10, bits);
        const uint32_t paper = s.pixelValueForRgb(rgb(255, 255, 255));
        const uint32_t ink = s.pixelValueForRgb(paint); // the nearest the sprite can hold
        s.fillPixel(paper);
        {
            SurfaceLease surface = drawingSurface(s);
            surface.painter().fillRect(QRect(2, 3, 4, 2), QColor(250, 10, 10));
            surface.painter().setPen(QColor(250, 10, 10));
            surface.painter().drawLine(0, 9, 19, 9);
        }
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool inked = (x >= 2 && x < 6 && y >= 3 && y < 5) || y == 9;
                ASSERT_EQ(s.pixelAt(x, y), inked ? ink : paper) << bits << " bits at " << x << "," << y;
            }
    }
    EXPECT_EQ(spriteOf(1, 1, 16).pixelValueForRgb(paint), 0x001Fu | (1u << 5) | (1u << 10));
}

TEST_F(DrawingSurfaceTest, LogicalUnitsScaleToPixels)
{
    Sprite wide = spriteOf(20, 10, 8, 10, 10); // pixels twice as narrow as they are tall
    {
        SurfaceLease surface = drawingSurface(wide);
        surface.painter().fillRect(QRectF(0, 0, 5, 5), Qt::white);
    }
    const uint32_t white = wide.pixelValueForRgb(rgb(255, 255, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(wide.pixelAt(x, y) == white, x < 10 && y < 5) << x << "," << y;
}

TEST_F(DrawingSurfaceTest, UntouchedPixelsKeepTheirValues)
{
    // Index 1 of the 8-bit default is black like index 0; only painted pixels are matched to
    // the palette, so the rest keep their own index.
    Sprite s = spriteOf(8, 4, 8);
    s.fillPixel(1);
    s.setPixelAt(7, 3, 200);
    Sprite deep = spriteOf(8, 4, 32);
    deep.fillPixel(0xFF000000u); // a stray top byte is not ours to clear
    for (Sprite* sprite : {&s, &deep}) {
        SurfaceLease surface = drawingSurface(*sprite);
        surface.painter().fillRect(QRect(0, 0, 2, 2), Qt::white);
        surface.painter().fillRect(QRect(2, 0, 2, 2), Qt::black); // no visible change
    }
    EXPECT_EQ(s.pixelAt(0, 0), 255u);
    EXPECT_EQ(s.pixelAt(2, 0), 1u);
    EXPECT_EQ(s.pixelAt(4, 0), 1u);
    EXPECT_EQ(s.pixelAt(7, 3), 200u);
    EXPECT_EQ(deep.pixelAt(0, 0), 0xFFFFFFu);
    EXPECT_EQ(deep.pixelAt(2, 0), 0xFF000000u);
    EXPECT_EQ(deep.pixelAt(5, 3), 0xFF000000u);
}

TEST_F(DrawingSurfaceTest, EachUseStartsFromTheSpriteAndFlushWritesBack)
{
    Sprite s = spriteOf(16, 8, 8);
    {
        SurfaceLease surface = drawingSurface(s);
        surface.painter().fillRect(QRect(0, 0, 2, 2), Qt::white);
    }
    s.setPixelAt(10, 5, 88); // a plot between two uses of the cached surface
    {
        SurfaceLease surface = drawingSurface(s);
        const auto* image = static_cast<const QImage*>(surface.painter().device());
        EXPECT_EQ(image->pixel(10, 5) & 0xFFFFFF, 0xA8CAE6u); // (168, 202, 230) at index 88
        surface.painter().fillRect(QRect(12, 0, 2, 2), Qt::white);
        surface.context().flush();
        EXPECT_EQ(s.pixelAt(12, 0), 255u); // readable before the use ends
        surface.painter().fillRect(QRect(14, 0, 2, 2), Qt::white);
    }
    EXPECT_EQ(s.pixelAt(0, 0), 255u);
    EXPECT_EQ(s.pixelAt(10, 5), 88u);
    EXPECT_EQ(s.pixelAt(14, 0), 255u);
}

TEST_F(DrawingSurfaceTest, PaletteSpritesGetNoBlendedEdges)
{
    Sprite flat = spriteOf(60, 20, 8);
    Sprite deep = spriteOf(60, 20, 32);
    for (Sprite* s : {&flat, &deep}) {
        s->fillPixel(s->pixelValueForRgb(rgb(255, 255, 255)));
        SurfaceLease surface = drawingSurface(*s);
        surface.painter().setPen(Qt::black);
        surface.setFont(QFont("DejaVu Sans", 14));
        surface.painter().drawText(2, 16, "Wavy");
    }
    auto values = [](const Sprite& s) {
        std::set<uint32_t> seen;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                seen.insert(s.pixelAt(x, y));
        return seen.size();
    };
    EXPECT_EQ(values(flat), 2u);
    EXPECT_GT(values(deep), 2u); // direct colour keeps the smooth edges
}

TEST_F(DrawingSurfaceTest, CacheFollowsUseIdlePassesAndTheSpritesLife)
{
    Sprite a = spriteOf(4, 4, 8);
    Sprite b = spriteOf(4, 4, 32);
    drawingSurface(a);
    EXPECT_EQ(cachedSurfaceSprite(), &a);
    drawingSurface(b);
    EXPECT_EQ(cachedSurfaceSprite(), &b);
    for (int i = 1; i < kIdlePasses; ++i)
        releaseIdleSurface();
    EXPECT_EQ(cachedSurfaceSprite(), &b);
    releaseIdleSurface();
    EXPECT_EQ(cachedSurfaceSprite(), nullptr);

    drawingSurface(a);
    a.reset();
    EXPECT_EQ(cachedSurfaceSprite(), nullptr);
    {
        Sprite gone = spriteOf(4, 4, 1);
        drawingSurface(gone);
    }
    EXPECT_EQ(cachedSurfaceSprite(), nullptr);

    // A sprite remade while in use: the drawing goes nowhere rather than past its new end.
    {
        SurfaceLease surface = drawingSurface(b);
        b.create(2, 1, 0, 0, 8);
        surface.painter().fillRect(QRect(0, 0, 4, 4), Qt::white);
    }
    EXPECT_EQ(b.pixelAt(1, 0), 0u);
    EXPECT_EQ(cachedSurfaceSprite(), nullptr);
    EXPECT_THROW(drawingSurface(a), NotSupportedError);
}
