#include <gtest/gtest.h>

#include "ToolRig.h"
#include "view/tools/FloodFillTool.h"
#include "view/tools/PenTool.h"

using namespace celvane;
using test::ToolRig;

namespace {

// A closed diamond outline one pixel thick: its inside touches the outside only diagonally.
void drawDiamond(ToolRig& rig, Point c, int r)
{
    for (int i = 0; i <= r; ++i)
        for (const Point p : {Point{c.x - r + i, c.y - i}, Point{c.x + r - i, c.y - i}, Point{c.x - r + i, c.y + i},
                              Point{c.x + r - i, c.y + i}})
            rig.frame().setPixelAt(p.x, p.y, rig.ink());
}

} // namespace

TEST(FloodFill, PoursInThreeModesAndNeverThroughADiagonalGap)
{
    ToolRig rig;
    rig.box.select(ToolBox::FloodFill, true);
    drawDiamond(rig, {20, 20}, 8);
    const int outline = rig.count(rig.ink());
    rig.click({20, 20});
    const int inside = rig.count(rig.ink()) - outline;
    EXPECT_EQ(inside, 8 * 8 + 7 * 7) << "only the inside of the diamond";
    EXPECT_EQ(rig.refreshed.back(), (Rect{0, 0, 64, 48}));
    EXPECT_EQ(test::soundsHeard.back(), "Filling");
    EXPECT_TRUE(rig.undoer.canUndo());

    // Pouring the colour that is already there does nothing.
    rig.refreshed.clear();
    rig.click({20, 20});
    EXPECT_TRUE(rig.refreshed.empty());

    // Mode 1: every pixel of that colour, joined or not.
    ToolRig all;
    all.box.select(ToolBox::FloodFill, true);
    all.box.floodFill().setMode(FloodFillTool::SameColour);
    drawDiamond(all, {20, 20}, 8);
    all.click({12, 20}, true); // right button, on the outline: paper over every painted pixel
    EXPECT_EQ(all.count(all.ink()), 0);

    // Mode 2: a dragged rectangle's paper pixels, leaving other colours.
    ToolRig box;
    box.box.select(ToolBox::FloodFill, true);
    box.box.floodFill().setMode(FloodFillTool::PaperRectangle);
    box.frame().setPixelAt(12, 12, 5);
    box.drag({10, 10}, {20, 15});
    EXPECT_EQ(box.count(box.ink()), 10 * 5 - 1);
    EXPECT_EQ(box.at(12, 12), 5u);
    EXPECT_EQ(box.refreshed.back(), (Rect{10, 10, 20, 15}));
    box.click({40, 40}); // a click is no rectangle
    EXPECT_EQ(box.count(box.ink()), 10 * 5 - 1);
}

TEST(FloodFill, FillsRegionsAtPackedAndWideDepths)
{
    for (int bits : {1, 4, 16, 32}) {
        ToolRig rig(40, 30, bits);
        rig.box.select(ToolBox::FloodFill, true);
        for (int y = 0; y < 30; ++y)
            rig.frame().setPixelAt(15, y, rig.ink());
        rig.click({3, 3});
        EXPECT_EQ(rig.count(rig.ink()), 16 * 30) << bits << " bits";
    }
}

TEST(Pipette, PicksColoursByButtonWithItsHintsAndSounds)
{
    ToolRig rig;
    rig.box.select(ToolBox::Pipette, true);
    rig.frame().setPixelAt(5, 5, 3);
    rig.frame().setPixelAt(6, 5, 4);
    rig.press({5, 5});
    EXPECT_EQ(rig.film().ink(), rig.frame().colourWordOf(3));
    EXPECT_EQ(rig.hints, (std::vector<uint32_t>{Hint::PaintingColour, Hint::ColourPicked}));
    rig.move({6, 5});
    EXPECT_EQ(rig.film().ink(), rig.frame().colourWordOf(4));
    rig.move({6, 5}); // the same colour again: nothing more
    EXPECT_EQ(rig.hints.size(), 3u);
    rig.release({6, 5});
    EXPECT_EQ(test::soundsHeard, (std::vector<std::string>{"Dropping", "Dropping"}));
    EXPECT_TRUE(rig.film().isModified());

    rig.hints.clear();
    rig.click({5, 5}, true);
    EXPECT_EQ(rig.film().paper(), rig.frame().colourWordOf(3));
    EXPECT_EQ(rig.hints.front(), Hint::PaperColour);

    // Deep films keep the colour in their colour table: the hints say the palette changed too.
    ToolRig deep(20, 20, 32);
    deep.box.select(ToolBox::Pipette, true);
    deep.frame().setPixelAt(2, 2, 0x00123456);
    deep.click({2, 2});
    EXPECT_EQ(deep.hints.front(), Hint::PaintingColour | Hint::PaletteRepaint);
    EXPECT_EQ(deep.film().ink() >> 8, deep.frame().colourWordOf(0x00123456) >> 8);
}

TEST(ZoomTool, ClicksZoomAroundThePointAndDragsZoomToTheRectangle)
{
    ToolRig rig;
    rig.zoom = 4;
    rig.box.select(ToolBox::Zoom, true);
    rig.click({10, 10});
    rig.click({10, 10}, true);
    rig.press({10, 10});
    rig.move({20, 15});
    EXPECT_EQ(rig.band, (Rect{10, 10, 20, 15}));
    rig.release({20, 15});
    EXPECT_FALSE(rig.band);
    // Within "DragMinDist" client pixels of the press is a click at the press point.
    rig.press({30, 30});
    rig.release({30, 30});
    rig.engine->mouse(MouseAction::DoubleClick, {5, 5}, MouseKeys::LeftButton, 0);
    EXPECT_EQ(rig.calls, (std::vector<std::string>{"in 10,10", "out 10,10", "rect 10,10,20,15", "in 30,30", "toggle"}));
}

TEST(ToolBox, SelectsWithPreviousToolAndTellsEveryWindow)
{
    ToolRig rig;
    ToolBox& box = rig.box;
    EXPECT_EQ(box.currentNumber(), ToolBox::Pencil);
    EXPECT_EQ(box.select(ToolBox::Zoom, false), ToolBox::Selected::Changed);
    EXPECT_EQ(test::soundsHeard.back(), "New tool");
    EXPECT_EQ(rig.toolHints.back(), Hint::ToolChanged);
    EXPECT_EQ(box.select(ToolBox::Eraser, true), ToolBox::Selected::Changed);
    EXPECT_EQ(box.previousNumber(), ToolBox::Pencil) << "zoom is never the tool to go back to";
    EXPECT_EQ(box.select(ToolBox::kPrevious, true), ToolBox::Selected::Changed);
    EXPECT_EQ(box.currentNumber(), ToolBox::Pencil);
    EXPECT_EQ(box.select(ToolBox::kPrevious, true), ToolBox::Selected::Nothing) << "only from the eraser";
    EXPECT_EQ(box.select(ToolBox::kIgnored, false), ToolBox::Selected::Nothing);
    EXPECT_EQ(box.select(ToolBox::Pencil, false), ToolBox::Selected::Again);
    EXPECT_EQ(rig.toolHints.back(), Hint::MousePressed);
    EXPECT_EQ(box.lastDrawingTool(), ToolBox::Pencil);

    // Changing tool ends an operation under way: the drag's preview goes.
    rig.press({5, 5});
    rig.move({9, 9});
    ASSERT_NE(rig.shown, nullptr);
    box.select(ToolBox::Pipette, true);
    EXPECT_EQ(rig.shown, nullptr);
    EXPECT_EQ(rig.count(rig.ink()), 0);
}
