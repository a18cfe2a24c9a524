#include <gtest/gtest.h>

#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "view/PaletteBarLayout.h"

using namespace celvane;

namespace {
PaletteBarLayout layoutFor(int depth, bool alternate)
{
    PaletteBarLayout layout;
    layout.setDepth(depth);
    layout.setAlternate(alternate);
    return layout;
}

bool contains(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
} // namespace

TEST(PaletteBarLayout, EveryPointOfTheCellAreaHitsTheCellDrawnThere)
{
    struct Case {
        int depth;
        int columns;
        int rows;
    };
    for (const Case c : {Case{1, 1, 2}, Case{4, 2, 8}, Case{8, 8, 32}, Case{16, 8, 32}, Case{32, 8, 32}})
        for (bool alternate : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.depth << " bits, alternate " << alternate);
            const PaletteBarLayout layout = layoutFor(c.depth, alternate);
            EXPECT_EQ(layout.columns(), alternate ? c.rows : c.columns);
            EXPECT_EQ(layout.rows(), alternate ? c.columns : c.rows);
            const Rect area = layout.cellArea();
            std::vector<int> hits(size_t(layout.cellCount()));
            for (int y = area.top; y < area.bottom; ++y)
                for (int x = area.left; x < area.right; ++x) {
                    const int index = layout.indexAt(x, y);
                    ASSERT_GE(index, 0);
                    ASSERT_LT(index, layout.cellCount());
                    ASSERT_TRUE(contains(layout.cellRect(index), x, y)) << x << "," << y << " -> " << index;
                    ++hits[size_t(index)];
                }
            // Cells tile the area with no gaps or overlaps.
            for (int i = 0; i < layout.cellCount(); ++i)
                EXPECT_EQ(hits[size_t(i)], layout.cellRect(i).width() * layout.cellRect(i).height());
            EXPECT_EQ(layout.indexAt(area.left - 1, area.top), -1);
            EXPECT_EQ(layout.indexAt(area.right, area.top), -1);
            EXPECT_EQ(layout.indexAt(area.left, area.bottom), -1);
            EXPECT_TRUE(layout.cellRect(layout.cellCount()).isEmpty());
            EXPECT_TRUE(layout.cellRect(-1).isEmpty());
        }
}

TEST(PaletteBarLayout, IndexBitsChooseTheColumnAndAlternateExchangesThem)
{
    // 4 bits: bit 3 chooses the column.
    PaletteBarLayout four = layoutFor(4, false);
    EXPECT_EQ(four.cellRect(7).left, four.cellRect(0).left);
    EXPECT_GT(four.cellRect(8).left, four.cellRect(7).left);
    EXPECT_EQ(four.cellRect(8).top, four.cellRect(0).top);

    // 8 bits: bits 5-7 choose the column, the low five bits the row; the alternate layout
    // puts index i at column i mod 32, row i div 32.
    const PaletteBarLayout tall = layoutFor(8, false);
    const PaletteBarLayout wide = layoutFor(8, true);
    const Rect area = tall.cellArea();
    EXPECT_EQ(tall.cellRect(37).left, area.left + 1 * area.width() / 8);
    EXPECT_EQ(tall.cellRect(37).top, area.top + 5 * area.height() / 32);
    const Rect wideArea = wide.cellArea();
    EXPECT_EQ(wide.cellRect(37).left, wideArea.left + 5 * wideArea.width() / 32);
    EXPECT_EQ(wide.cellRect(37).top, wideArea.top + 1 * wideArea.height() / 8);
    EXPECT_EQ(wide.indexAt(wideArea.right - 1, wideArea.top), 31);
    EXPECT_EQ(tall.indexAt(area.left, area.bottom - 1), 31);
}

TEST(PaletteBarLayout, BarSizeAndWell)
{
    const PaletteBarLayout tall = layoutFor(8, false);
    EXPECT_EQ(tall.width(), 56);
    EXPECT_EQ(tall.height(), 258);
    // 34 x 34 at the start, centred across.
    EXPECT_EQ(tall.wellRect(), (Rect{11, 8, 45, 42}));
    const PaletteBarLayout wide = layoutFor(8, true);
    EXPECT_EQ(wide.width(), 258);
    EXPECT_EQ(wide.height(), 56);
    EXPECT_EQ(wide.wellRect(), (Rect{8, 11, 42, 45}));

    // The well lies clear of the cells, and the two squares fill its corners.
    for (const PaletteBarLayout& l : {tall, wide}) {
        EXPECT_TRUE(l.wellRect().intersected(l.cellArea()).isEmpty());
        const Rect well = l.wellRect();
        EXPECT_EQ(l.wellSquareAt(well.left, well.top), PaletteBarLayout::WellSquare::Painting);
        EXPECT_EQ(l.wellSquareAt(well.right - 1, well.bottom - 1), PaletteBarLayout::WellSquare::Paper);
        // Where they overlap the painting colour is in front.
        EXPECT_EQ(l.wellSquareAt(well.left + 17, well.top + 17), PaletteBarLayout::WellSquare::Painting);
        EXPECT_EQ(l.wellSquareAt(well.right - 1, well.top), PaletteBarLayout::WellSquare::None);
        EXPECT_EQ(l.indexAt(well.left + 1, well.top + 1), -1);
    }
}

TEST(PaletteBarLayout, CellColoursGoThroughTheIndexMap)
{
    PaletteRef palette = PaletteRef::make();
    palette->setCount(16);
    for (int i = 0; i < 16; ++i)
        palette->setEntry(i, rgbToColourWord(rgb(i * 16, 0, 0)));
    // Logical i is stored at 15 - i.
    std::vector<uint8_t> map(16);
    for (int i = 0; i < 16; ++i)
        map[size_t(i)] = uint8_t(15 - i);
    palette->setIndexMap(map);

    // A palette film's word carries the logical index and its colour.
    EXPECT_EQ(colourWordOfCell(*palette, 3, 4), rgbToColourWord(rgb(12 * 16, 0, 0), 3));
    EXPECT_EQ(cellOfColourWord(*palette, rgbToColourWord(0, 3), 4), 3);
    // A stale word shows the palette's present colour.
    EXPECT_EQ(rgbOfColourWord(*palette, rgbToColourWord(rgb(1, 2, 3), 3), 4), rgb(12 * 16, 0, 0));
    // No cell, no colour: indices past the palette.
    EXPECT_FALSE(colourWordOfCell(*palette, 16, 4).has_value());
    EXPECT_FALSE(colourWordOfCell(*palette, -1, 4).has_value());
    EXPECT_EQ(cellOfColourWord(*palette, rgbToColourWord(0, 200), 4), -1);
    EXPECT_EQ(rgbOfColourWord(*palette, rgbToColourWord(rgb(1, 2, 3), 200), 4), rgb(1, 2, 3));

    // A deep film's word is its colour alone; its cell is the entry with exactly that colour.
    EXPECT_EQ(colourWordOfCell(*palette, 3, 32), rgbToColourWord(rgb(12 * 16, 0, 0)));
    EXPECT_EQ(cellOfColourWord(*palette, rgbToColourWord(rgb(12 * 16, 0, 0)), 32), 3);
    EXPECT_EQ(cellOfColourWord(*palette, rgbToColourWord(rgb(12 * 16 + 1, 0, 0)), 32), -1);
    EXPECT_EQ(rgbOfColourWord(*palette, rgbToColourWord(rgb(1, 2, 3)), 32), rgb(1, 2, 3));
}
