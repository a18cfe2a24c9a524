#include <gtest/gtest.h>

#include "base/Errors.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"

using namespace celvane;

namespace {

uint32_t word(int r, int g, int b) { return rgbToColourWord(rgb(r, g, b)); }
// 0xRRGGBB as written in colour tables for people.
uint32_t hexWord(uint32_t c) { return word(int(c >> 16), int((c >> 8) & 0xFF), int(c & 0xFF)); }

} // namespace

TEST(Palette, DefaultsForEachDepth)
{
    PaletteRef p = PaletteRef::make();
    p->setDefault(1);
    EXPECT_EQ(p->count(), 2);
    EXPECT_EQ(p->entry(1), word(255, 255, 255));
    p->setDefault(4);
    ASSERT_EQ(p->count(), 16);
    EXPECT_EQ(p->entry(7), word(192, 192, 192));
    EXPECT_EQ(p->entry(9), word(255, 0, 0));

    for (int depth : {8, 16, 32}) {
        p->setDefault(depth);
        ASSERT_EQ(p->count(), 256);
        EXPECT_EQ(p->entry(2), 0u);
        EXPECT_EQ(p->entry(3), word(0, 0, 123));
        EXPECT_EQ(p->entry(8), word(0, 123, 0));
        EXPECT_EQ(p->entry(34), word(123, 0, 0));
        EXPECT_EQ(p->entry(206), word(0, 255, 0));
        EXPECT_EQ(p->entry(255), word(255, 255, 255));
    }
    // Levels 0, 123, 168, 202, 230, 255: (2, 3, 4) lands at 2 + 6*3 + 4 + 32*2.
    EXPECT_EQ(p->entry(88), word(168, 202, 230));
    for (int gap : {0, 1, 32, 33, 64, 65, 96, 97, 128, 129, 160, 161, 192, 193, 194, 195, 224, 225, 226, 227})
        EXPECT_EQ(p->entry(gap), 0u) << gap;
    const uint32_t ramps[20] = {
        0xFCDEC9, 0xF0CCB7, 0xE4BAA5, 0xD7A792, 0xCB9580, 0xBE836E, 0xB2705B, 0xA55E49, 0x994C37, 0x8C3924,
        0xEEBFC2, 0xEDAAAF, 0xEC959B, 0xEB8088, 0xEA6B74, 0xE95661, 0xE8414D, 0xE72C3A, 0xE61726, 0xE40212,
    };
    for (int i = 0; i < 20; ++i) {
        const int index = i < 10 ? 196 + i : 218 + i;
        EXPECT_EQ(p->entry(index), hexWord(ramps[i])) << index;
    }
    EXPECT_THROW(p->setDefault(2), NotSupportedError);
}

TEST(Palette, ChangesTakeNewStampsAndHandlesShareOnePalette)
{
    PaletteRef p = PaletteRef::make();
    std::vector<uint32_t> stamps = {p->changeStamp()};
    p->setCount(4);
    stamps.push_back(p->changeStamp());
    p->setEntry(1, 0x11223344);
    stamps.push_back(p->changeStamp());
    EXPECT_EQ(p->entry(1), 0x11223300u); // the index byte is not stored
    p->setIndexMap({3, 2, 1, 0});
    stamps.push_back(p->changeStamp());
    p->clear();
    stamps.push_back(p->changeStamp());
    for (size_t i = 1; i < stamps.size(); ++i)
        EXPECT_TRUE(stamps[i] != 0 && stamps[i] != stamps[i - 1]) << i;
    EXPECT_EQ(p->entry(0), 0u); // past the end: black, not a stray read

    // Copies share one palette, which outlives every handle but the last (the sanitizers see a
    // palette used after it went, or never freed).
    PaletteRef copy = p;
    copy->setCount(2);
    EXPECT_EQ(p->count(), 2);
    EXPECT_TRUE(copy == p);
    p = PaletteRef::make(); // a reassigned handle lets go of its share
    EXPECT_FALSE(copy == p);
    EXPECT_EQ(copy->count(), 2);
    copy.reset();
    EXPECT_FALSE(copy);
}

TEST(Palette, RampEndsAndIndexMaps)
{
    PaletteRef p = PaletteRef::make();
    p->setCount(4);
    p->ramp(1, 2, rgb(1, 1, 1), rgb(2, 2, 2)); // too short to interpolate: just the two ends
    EXPECT_EQ(p->entry(1), word(1, 1, 1));
    EXPECT_EQ(p->entry(2), word(2, 2, 2));

    p->setIndexMap({2, 0, 3, 1});
    EXPECT_EQ(p->inverseMap(), (std::vector<uint8_t>{1, 3, 0, 2}));
    p->ramp(0, 1, rgb(9, 9, 9), rgb(8, 8, 8)); // ramps address logical entries
    EXPECT_EQ(p->entry(2), word(9, 9, 9));
    EXPECT_EQ(p->entry(0), word(8, 8, 8));
    EXPECT_THROW(p->setIndexMap({0, 0, 1, 2}), ArchiveError);
    EXPECT_THROW(p->setIndexMap({0, 1, 2, 4}), ArchiveError);
    EXPECT_THROW(p->setIndexMap({0, 1, 2}), ArchiveError);
    EXPECT_EQ(p->indexMap(), (std::vector<uint8_t>{2, 0, 3, 1})); // refused maps change nothing
    p->setCount(5);
    EXPECT_TRUE(p->indexMap().empty() && p->inverseMap().empty());
    EXPECT_THROW(p->setCount(257), NotSupportedError);
}

TEST(Palette, NearestWeighsGreenMostAndPrefersTheLowerIndex)
{
    PaletteRef p = PaletteRef::make();
    p->setCount(4);
    p->setEntry(0, word(100, 110, 100)); // green off by 10: 4 * 100 = 400
    p->setEntry(1, word(100, 100, 115)); // blue off by 15: 225
    p->setEntry(2, word(110, 100, 100)); // red off by 10: 2 * 100 = 200
    p->setEntry(3, word(90, 100, 100));  // the same distance as 2
    EXPECT_EQ(p->nearestIndex(rgb(100, 100, 100)), 2);
    std::vector<bool> excluded = {false, false, true};
    EXPECT_EQ(p->nearestIndex(rgb(100, 100, 100), &excluded), 3);
    excluded.assign(4, true);
    EXPECT_EQ(p->nearestIndex(rgb(100, 100, 100), &excluded), -1);
}
