#include <gtest/gtest.h>

#include <cmath>

#include "ToolRig.h"
#include "view/tools/PenTool.h"

using namespace celvane;
using test::ToolRig;

namespace {

void usePen(ToolRig& rig, int shape, int w, int h, bool round = true)
{
    rig.box.pencil().setPen({shape, round, w, h});
}

Rect boundsOf(ToolRig& rig, uint32_t pixel)
{
    Rect r{1 << 20, 1 << 20, -1, -1};
    for (int y = 0; y < rig.frame().height(); ++y)
        for (int x = 0; x < rig.frame().width(); ++x)
            if (rig.at(x, y) == pixel)
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    return r;
}

} // namespace

TEST(PenTool, DabsAreEllipsesOnlyWhenRoundAndWiderThanTwo)
{
    ToolRig rig;
    usePen(rig, 0, 5, 5);
    rig.click({10, 10});
    EXPECT_EQ(rig.picture({8, 8, 13, 13}), (std::vector<std::string>{".###.", "#####", "#####", "#####", ".###."}));
    EXPECT_EQ(rig.refreshed.back(), (Rect{8, 8, 13, 13}));
    EXPECT_EQ(test::soundsHeard.front(), "Pencilling");

    ToolRig square;
    usePen(square, 0, 2, 2);
    square.click({10, 10});
    EXPECT_EQ(square.picture({9, 9, 11, 11}), (std::vector<std::string>{"##", "##"}));
    EXPECT_EQ(square.count(square.ink()), 4);

    // A round pen of side 2 has no room for a curve: a square.
    ToolRig narrow;
    usePen(narrow, 0, 5, 2);
    narrow.click({10, 10});
    EXPECT_EQ(narrow.count(narrow.ink()), 10);
}

TEST(PenTool, FreehandSweepsTheFootprintAndOnlyTheReleaseChangesTheFrame)
{
    ToolRig rig;
    usePen(rig, 1, 4, 10); // taller than wide: a horizontal stroke is 10 high, a vertical one 4 wide
    rig.press({10, 20});
    rig.move({30, 20});
    EXPECT_EQ(rig.count(rig.ink()), 0) << "the frame waits for the release";
    ASSERT_NE(rig.shown, nullptr);
    EXPECT_GT(rig.count(rig.ink(), rig.shown), 0);
    rig.move({30, 40});
    rig.release({30, 40});
    EXPECT_EQ(rig.shown, nullptr);
    EXPECT_EQ(boundsOf(rig, rig.ink()), (Rect{8, 15, 32, 45}));
    // The horizontal part is 10 rows deep, the vertical part 4 columns wide.
    int deep = 0, wide = 0;
    for (int y = 0; y < 48; ++y)
        deep += rig.at(20, y) == rig.ink();
    for (int x = 0; x < 64; ++x)
        wide += rig.at(x, 35) == rig.ink();
    EXPECT_EQ(deep, 10);
    EXPECT_EQ(wide, 4);
    EXPECT_TRUE(rig.undoer.canUndo());

    // A press and release in place makes one dab.
    ToolRig dab;
    usePen(dab, 1, 3, 3, false);
    dab.click({5, 5});
    EXPECT_EQ(dab.count(dab.ink()), 9);
}

TEST(PenTool, SquarePensIgnoreStepsShorterThanFourAndSoundWhenTheStrokeTurnsBack)
{
    ToolRig rig;
    usePen(rig, 1, 1, 1, false);
    rig.press({10, 10});
    rig.move({13, 10}); // 3 pixels: ignored, the anchor stays
    EXPECT_EQ(rig.engine->anchor(), (Point{10, 10}));
    rig.move({14, 10});
    EXPECT_EQ(rig.engine->anchor(), (Point{14, 10}));
    test::soundsHeard.clear();
    rig.move({30, 10});
    EXPECT_TRUE(test::soundsHeard.empty());
    rig.move({20, 10}); // back the way it came
    EXPECT_EQ(test::soundsHeard, (std::vector<std::string>{"Pencilling+Pencilling again"}));
    rig.release({20, 10});
    EXPECT_EQ(rig.count(rig.ink()), 21); // 10 ... 30 in one row
}

TEST(PenTool, LinesArePreviewedThenDrawnOnceAndConnectedLinesChain)
{
    // At 1 and 4 bits the first preview line ends inside a byte, which must be put back too.
    for (int bits : {8, 4, 1}) {
        SCOPED_TRACE(bits);
        ToolRig rig(64, 48, bits);
        usePen(rig, 2, 1, 1);
        rig.press({0, 0});
        rig.move({40, 0});
        rig.move({0, 40});
        ASSERT_NE(rig.shown, nullptr);
        EXPECT_EQ(rig.count(rig.ink(), rig.shown), 41) << "the first preview line is gone";
        rig.release({0, 40});
        EXPECT_EQ(rig.count(rig.ink()), 41);
        EXPECT_EQ(rig.at(0, 40), rig.ink());
        EXPECT_FALSE(rig.engine->anchor());
    }

    ToolRig chain;
    usePen(chain, 3, 1, 1);
    chain.drag({0, 0}, {10, 0});
    EXPECT_EQ(chain.engine->anchor(), (Point{10, 0})) << "the next line starts where this one ended";
    chain.drag({10, 5}, {10, 10}); // pressed anywhere, the line comes from the end of the last
    EXPECT_EQ(chain.count(chain.ink()), 11 + 10);
    EXPECT_EQ(chain.at(10, 10), chain.ink());
    chain.engine->character(0x1B);
    EXPECT_FALSE(chain.engine->anchor());
}

TEST(PenTool, FiguresKeepEqualSidesAndOutlinesAreAsThickAsThePen)
{
    ToolRig circle;
    usePen(circle, 4, 3, 3, false);
    circle.drag({30, 24}, {36, 32}); // radius 10
    EXPECT_EQ(circle.at(30, 24), circle.paper());
    EXPECT_EQ(circle.at(40, 24), circle.ink());
    EXPECT_EQ(circle.at(30, 14), circle.ink());
    EXPECT_EQ(circle.at(42, 24), circle.paper());
    EXPECT_EQ(boundsOf(circle, circle.ink()), (Rect{19, 13, 42, 36}));

    ToolRig filled;
    usePen(filled, 9, 1, 1);
    filled.drag({30, 24}, {40, 29}); // ellipse with radii 10 and 5
    EXPECT_EQ(boundsOf(filled, filled.ink()), (Rect{20, 19, 41, 30}));
    EXPECT_EQ(filled.at(30, 24), filled.ink());

    ToolRig square;
    usePen(square, 10, 1, 1);
    square.drag({20, 20}, {14, 23}); // up-left of the anchor: sides 6, signs kept
    EXPECT_EQ(boundsOf(square, square.ink()), (Rect{14, 20, 21, 27}));
    EXPECT_EQ(square.count(square.ink()), 49);

    ToolRig outline;
    usePen(outline, 7, 2, 2, false);
    outline.drag({10, 10}, {20, 16});
    EXPECT_EQ(outline.at(15, 13), outline.paper());
    EXPECT_EQ(outline.at(10, 13), outline.ink());
    EXPECT_EQ(outline.at(9, 13), outline.ink());
    EXPECT_EQ(outline.at(11, 13), outline.paper());
    EXPECT_EQ(outline.refreshed.back(), (Rect{9, 9, 21, 17}));
}

TEST(PenTool, PenKeysChangeTheSizeWithinItsLimitsAndTellEveryWindow)
{
    ToolRig rig;
    PenTool& pencil = rig.box.pencil();
    auto size = [&] { return std::to_string(pencil.pen().width) + "x" + std::to_string(pencil.pen().height); };
    rig.engine->keyDown(ToolKey::KeypadPlus);
    EXPECT_EQ(size(), "32x32");
    rig.engine->keyDown(ToolKey::Up);
    EXPECT_EQ(size(), "33x33");
    rig.engine->keyDown(ToolKey::KeypadMinus);
    EXPECT_EQ(size(), "16x16");
    rig.engine->character(U'h');
    EXPECT_FALSE(pencil.pen().round);
    rig.engine->character(U'.');
    EXPECT_EQ(size(), "1x1");
    rig.engine->keyDown(ToolKey::Down);
    EXPECT_EQ(size(), "1x1");
    rig.engine->keyDown(ToolKey::KeypadMinus);
    EXPECT_EQ(size(), "1x1");
    pencil.setPen({1, true, 100, 100});
    rig.engine->keyDown(ToolKey::KeypadPlus);
    EXPECT_EQ(size(), "164x164");
    EXPECT_EQ(std::count(rig.toolHints.begin(), rig.toolHints.end(), Hint::PenSize), 8);
}

TEST(PenTool, SizeDragsMeasureFromTheStartAndTakeNoUndoImage)
{
    ToolRig rig;
    PenTool& pencil = rig.box.pencil();
    rig.press({20, 20}, MouseKeys::LeftButton | MouseKeys::Shift);
    ASSERT_EQ(rig.pointer.size(), 1u);
    EXPECT_EQ(rig.pointer[0], (Point{25, 20})); // sqrt((256 + 256) / 16 + 0.5) = 5.7
    EXPECT_EQ(pencil.sizeDrag(), 1);
    rig.move({23, 24});
    EXPECT_EQ(pencil.pen().width, 10); // twice the distance 5
    EXPECT_EQ(pencil.pen().height, 10);
    rig.release({23, 24});
    EXPECT_EQ(rig.pointer.back(), (Point{20, 20})) << "the pointer goes back to the start";
    EXPECT_EQ(pencil.sizeDrag(), 0);
    EXPECT_FALSE(rig.undoer.canUndo());
    EXPECT_EQ(rig.count(rig.ink()), 0);
    EXPECT_EQ(rig.toolHints.back(), Hint::PenSize);

    rig.press({20, 20}, MouseKeys::LeftButton | MouseKeys::Control);
    EXPECT_EQ(rig.pointer.back(), (Point{25, 25}));
    rig.move({23, 20});
    rig.release({23, 20});
    EXPECT_EQ(pencil.pen().width, 6);
    EXPECT_EQ(pencil.pen().height, 1) << "sizes below 1 become 1";

    // A release where the pointer was put keeps the size.
    rig.press({20, 20}, MouseKeys::LeftButton | MouseKeys::Control);
    rig.release(rig.pointer.back());
    EXPECT_EQ(pencil.pen().width, 6);
    EXPECT_EQ(pencil.pen().height, 1);
}

TEST(PenTool, TheEraserAlwaysRubsOutToPaperAndOnlyThePencilSnaps)
{
    ToolRig rig;
    rig.frame().fillPixel(rig.ink());
    rig.box.select(ToolBox::Eraser, true);
    rig.box.eraser().setPen({0, false, 2, 2});
    rig.click({5, 5});
    rig.click({20, 20}, true);
    EXPECT_EQ(rig.count(rig.paper()), 8);

    ToolRig pencil;
    pencil.gridStep = 16;
    usePen(pencil, 0, 1, 1);
    pencil.click({7, 9});
    EXPECT_EQ(pencil.at(0, 16), pencil.ink());
    pencil.click({40, 40}, true); // the right button draws in paper colour: nothing shows
    EXPECT_EQ(pencil.count(pencil.ink()), 1);

    ToolRig eraser;
    eraser.gridStep = 16;
    eraser.frame().fillPixel(eraser.ink());
    eraser.box.select(ToolBox::Eraser, true);
    eraser.box.eraser().setPen({0, false, 1, 1});
    eraser.click({7, 9});
    EXPECT_EQ(eraser.at(7, 9), eraser.paper());
}
