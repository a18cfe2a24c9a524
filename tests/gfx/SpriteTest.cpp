#include <gtest/gtest.h>

#include "base/Errors.h"
#include "gfx/Colour.h"
#include "gfx/DibLayout.h"
#include "gfx/Sprite.h"

using namespace celvane;

namespace {

// A sprite whose pixels follow a pattern that uses every value of small depths and differs
// between neighbours, rows and bytes.
Sprite patterned(int width, int height, int bits)
{
    Sprite s;
    s.create(width, height, width, height, bits);
    const uint32_t mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t v = uint32_t(x * 7 + y * 3 + (x * y) % 5) & mask;
            uint8_t* p = s.pixelAddress(x, y);
            switch (bits) {
            case 1: *p = uint8_t((*p & ~(0x80 >> (x & 7))) | (v << (7 - (x & 7)))); break;
            case 4: *p = uint8_t((x & 1) ? (*p & 0xF0) | v : (*p & 0x0F) | (v << 4)); break;
            case 8: *p = uint8_t(v); break;
            case 16: storeLE16(p, uint16_t(v)); break;
            default: storeLE32(p, v); break;
            }
        }
    return s;
}

} // namespace

TEST(Sprite, GeometryAndHeader)
{
    Sprite s;
    EXPECT_TRUE(s.empty());
    s.create(0, 0, 0, 0, 8);
    EXPECT_EQ(s.width(), 1);
    EXPECT_EQ(s.height(), 1);
    EXPECT_EQ(s.logicalWidth(), 1);

    s.create(33, 3, 33, 3, 1);
    EXPECT_EQ(s.usedBytesPerRow(), 5);
    EXPECT_EQ(s.stride(), 8);
    EXPECT_EQ(s.imageSize(), 24u);
    EXPECT_EQ(s.rowAddress(0), s.pixels() + 16); // bottom-up
    ByteSpan h = s.headerAndTable();
    ASSERT_EQ(h.size(), 48u);
    EXPECT_EQ(loadLE32(&h[24]), 0u); // logical size = pixel size: no densities
    EXPECT_EQ(loadLE32(&h[28]), 0u);
    EXPECT_EQ(loadLE32(&h[44]), 0x00FFFFFFu); // default white, in the table as B, G, R, 0

    s.create(100, 200, 100, 100, 16);
    h = s.headerAndTable();
    ASSERT_EQ(h.size(), 52u);
    EXPECT_EQ(loadLE16(&h[14]), 16);
    EXPECT_EQ(loadLE32(&h[16]), kCompressionBitFields);
    EXPECT_EQ(loadLE32(&h[20]), 200u * 200u);
    EXPECT_EQ(loadLE32(&h[24]), 3782u);
    EXPECT_EQ(loadLE32(&h[28]), 7564u);
    EXPECT_EQ(loadLE32(&h[40]), 0x001Fu); // red mask first
    EXPECT_EQ(s.palette()->count(), 256);

    EXPECT_THROW(s.create(10, 10, 10, 10, 24), NotSupportedError);
    EXPECT_THROW(s.create(32768, 1, 1, 1, 8), MemoryError);
    EXPECT_THROW(s.create(32767, 32767, 1, 1, 32), MemoryError);
    EXPECT_EQ(s.width(), 100); // a refused create leaves the sprite alone
}

TEST(Sprite, ColourConversions)
{
    Sprite s;
    s.create(2, 2, 2, 2, 16);
    EXPECT_EQ(s.colourWordOf(0x001F), 0x0000FF00u);
    EXPECT_EQ(s.colourWordOf(16 << 10), uint32_t(132) << 24);
    EXPECT_EQ(s.pixelValueOf(rgbToColourWord(rgb(255, 0, 132))), 0x001Fu | (16u << 10));
    EXPECT_EQ(s.pixelValueForRgb(rgb(0, 255, 0)), 0x03E0u);
    EXPECT_EQ(s.nearestColourWord(rgb(1, 2, 3)), 0x03020100u);

    s.create(2, 2, 2, 2, 32);
    EXPECT_EQ(s.pixelValueOf(0x12345678), 0x123456u);
    EXPECT_EQ(s.colourWordOf(0xFF123456), 0x12345600u);

    s.create(2, 2, 2, 2, 8);
    EXPECT_EQ(s.pixelValueOf(0x12345678), 0x78u);
    EXPECT_EQ(s.colourWordOf(255), 0xFFFFFFFFu);
    EXPECT_EQ(s.nearestColourWord(rgb(0, 0, 120)), rgbToColourWord(rgb(0, 0, 123), 3));
    EXPECT_EQ(s.pixelValueForRgb(rgb(0, 0, 120)), 3u);

    // With an index map pixels hold stored indices and colour words logical ones.
    PaletteRef p = PaletteRef::make();
    p->setCount(16);
    p->setEntry(1, rgbToColourWord(rgb(9, 9, 9)));
    std::vector<uint8_t> map(16);
    for (int i = 0; i < 16; ++i)
        map[size_t(i)] = uint8_t(15 - i);
    p->setIndexMap(map);
    s.create(2, 2, 2, 2, 4, p);
    EXPECT_EQ(s.pixelValueOf(14), 1u);
    EXPECT_EQ(s.colourWordOf(1), rgbToColourWord(rgb(9, 9, 9), 14));
    EXPECT_EQ(s.nearestColourWord(rgb(9, 9, 9)), rgbToColourWord(rgb(9, 9, 9), 14));
    EXPECT_EQ(s.pixelValueForRgb(rgb(9, 9, 9)), 1u);
    EXPECT_EQ(s.colourWordOf(0x21), rgbToColourWord(rgb(9, 9, 9), 14)); // cut to the depth
}

TEST(Sprite, FillsPackPixelsLeftmostHigh)
{
    const std::pair<int, uint32_t> values[] = {{1, 1}, {4, 0xA}, {8, 0xA5}, {16, 0x7A5C}, {32, 0x00A1B2C3}};
    for (auto [bits, value] : values) {
        Sprite s;
        s.create(9, 2, 9, 2, bits);
        s.fillPixel(value);
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(s.readPixel(x, 1), value) << bits << " bits, x " << x;
    }
    Sprite s;
    s.create(9, 1, 9, 1, 4);
    s.fillColour(rgbToColourWord(0, 0xC));
    EXPECT_EQ(loadLE32(s.pixels()), 0xCCCCCCCCu);
    s.pixels()[0] = 0x12;
    EXPECT_EQ(s.readPixel(0, 0), 1u);
    EXPECT_EQ(s.readPixel(1, 0), 2u);
    s.create(9, 1, 9, 1, 1);
    s.pixels()[1] = 0x80;
    EXPECT_EQ(s.readPixel(8, 0), 1u);
}

TEST(Sprite, ReadPixelScalesLogicalCoordinatesAndClampsToTheEdge)
{
    Sprite s;
    s.create(4, 6, 2, 3, 8);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            *s.pixelAddress(x, y) = uint8_t(10 * y + x);
    EXPECT_EQ(s.readPixel(1, 1), 22u);
    EXPECT_EQ(s.readPixel(-5, -5), 0u);
    EXPECT_EQ(s.readPixel(100, 100), 53u);
    EXPECT_EQ(s.readPixel(1, 99), 52u);
}

TEST(Sprite, MaskFromKeyMatchesEveryPixel)
{
    for (int bits : {1, 4, 8, 16, 32}) {
        for (int width : {1, 7, 8, 9, 33, 40}) {
            Sprite s = patterned(width, 5, bits);
            const uint32_t key = s.readPixel(width / 2, 2);
            s.buildMaskFromKey(key, false);
            ASSERT_TRUE(s.mask());
            EXPECT_FALSE(s.solid());
            const Sprite& mask = *s.mask();
            EXPECT_EQ(mask.bitsPerPixel(), 1);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(mask.readPixel(x, y), s.readPixel(x, y) != key ? 1u : 0u)
                        << bits << " bits, width " << width << " at " << x << "," << y;

            // Merging with a second key leaves transparent only what both keys make transparent.
            const uint32_t other = s.readPixel(0, 0);
            s.buildMaskFromKey(other, true);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < width; ++x) {
                    const uint32_t v = s.readPixel(x, y);
                    ASSERT_EQ(mask.readPixel(x, y), v != key || v != other ? 1u : 0u);
                }
        }
    }
    Sprite empty;
    EXPECT_THROW(empty.buildMaskFromKey(0, false), NotSupportedError);
}

TEST(Sprite, PixelCopiesNeedTheSameGeometry)
{
    Sprite a = patterned(5, 5, 8);
    Sprite b;
    b.create(5, 5, 5, 5, 8);
    b.fillPixel(0xEE);
    b.copyAlternateRowsFrom(a);
    for (int y = 0; y < 5; ++y) // memory rows 0, 2, 4 are picture rows 4, 2, 0
        EXPECT_EQ(b.readPixel(3, y), y % 2 == 0 ? a.readPixel(3, y) : 0xEEu) << y;

    const uint32_t a0 = a.readPixel(0, 0), b1 = b.readPixel(0, 1);
    a.swapPixelsWith(b);
    EXPECT_EQ(a.readPixel(0, 1), b1);
    EXPECT_EQ(b.readPixel(0, 0), a0);
    b.copyPixelsFrom(a);
    EXPECT_EQ(b.readPixel(0, 1), b1);

    Sprite c = patterned(5, 5, 4);
    EXPECT_THROW(c.copyPixelsFrom(a), NotSupportedError);
    EXPECT_THROW(c.swapPixelsWith(a), NotSupportedError);
    EXPECT_THROW(a.copyAlternateRowsFrom(patterned(5, 4, 8)), NotSupportedError);
}

TEST(Sprite, MovesLeaveAnEmptySprite)
{
    Sprite a = patterned(3, 3, 8);
    a.buildMaskFromKey(0, false);
    a.setTransparentColour(0x11, true);
    Sprite b = std::move(a);
    EXPECT_TRUE(a.empty() && !a.mask() && !a.hasTransparentColour() && !a.palette());
    EXPECT_TRUE(b.mask() && b.hasTransparentColour());
    b.reset();
    EXPECT_FALSE(b.palette()) << "a reset sprite lets go of its palette";
}
