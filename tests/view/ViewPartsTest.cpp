#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>

#include "QtTestSupport.h"
#include "gfx/Colour.h"
#include "view/CZoomDialog.h"
#include "view/FrameCanvas.h"
#include "view/FramePainter.h"
#include "view/FrameSurround.h"
#include "view/IntegerInput.h"
#include "view/PointerWarp.h"
#include "view/ZoomToggle.h"

using namespace celvane;

TEST(FramePainter, PaintsTheVisiblePartScaledInItsOwnColours)
{
    Sprite frame;
    frame.create(4, 3, 0, 0, 8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            frame.setPixelAt(x, y, uint32_t(1 + x + 4 * y));
    const auto colourAt = [&](int x, int y) {
        const uint32_t c = rgbOfWord(frame.colourWordOf(frame.pixelAt(x, y)));
        return qRgb(redOf(c), greenOf(c), blueOf(c));
    };
    QImage window(6, 6, QImage::Format_RGB32);
    window.fill(Qt::magenta);
    FramePainter painter;
    // At 200%, starting one pixel left of the window and two down; only the window's top-left
    // 5 x 5 is repainted.
    const Rect frameRect{-1, 2, 7, 8};
    for (int pass = 0; pass < 2; ++pass) { // the second pass reuses the scratch images
        QPainter p(&window);
        painter.paint(p, frame, frameRect, {0, 0, 5, 5});
    }
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool painted = x < 5 && y >= 2 && y < 5;
            const QRgb expected = painted ? colourAt((x + 1) / 2, (y - 2) / 2) : QColor(Qt::magenta).rgb();
            EXPECT_EQ(window.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(FrameSurround, OutlineJustOutsideAndShadowBelowAndRight)
{
    const FrameSurround s = FrameSurround::around({10, 20, 30, 40});
    EXPECT_EQ(s.outline, (Rect{9, 19, 31, 41}));
    // The outline moved 4 right and down, where it shows from behind: 4 pixels thick.
    EXPECT_EQ(s.shadowRight, (Rect{31, 23, 35, 45}));
    EXPECT_EQ(s.shadowBottom, (Rect{13, 41, 31, 45}));
}

TEST(FrameCanvas, ChangedAreaAndRubberBand)
{
    FrameCanvas canvas;
    canvas.addChanged({10, 10, 20, 20});
    canvas.addChanged({5, 15, 12, 30});
    EXPECT_EQ(canvas.changedArea(), (Rect{5, 10, 20, 30}));
    canvas.resetChangedArea();
    canvas.addChanged({1, 1, 2, 2});
    EXPECT_EQ(canvas.changedArea(), (Rect{1, 1, 2, 2}));

    canvas.setRubberBand({1, 2, 3, 4});
    EXPECT_EQ(canvas.rubberBand(), (Rect{1, 2, 3, 4}));
    canvas.setRubberBand({1, kNoValue, 3, 4});
    EXPECT_FALSE(canvas.rubberBand());

    // Every perimeter pixel once, whichever corner the band was dragged from.
    for (const Rect& band : {Rect{2, 3, 6, 5}, Rect{6, 5, 2, 3}}) {
        std::multiset<std::pair<int, int>> pixels;
        for (const Rect& e : FrameCanvas::bandEdges(band)) {
            EXPECT_TRUE(e.width() == 1 || e.height() == 1);
            for (int y = e.top; y < e.bottom; ++y)
                for (int x = e.left; x < e.right; ++x)
                    pixels.insert({x, y});
        }
        std::multiset<std::pair<int, int>> perimeter;
        for (int y = 3; y <= 5; ++y)
            for (int x = 2; x <= 6; ++x)
                if (x == 2 || x == 6 || y == 3 || y == 5)
                    perimeter.insert({x, y});
        EXPECT_EQ(pixels, perimeter);
    }
    // A band with no width: the top and bottom edges start where they end and are left out.
    EXPECT_EQ(FrameCanvas::bandEdges({4, 1, 4, 5}), (std::vector<Rect>{{4, 1, 5, 5}, {4, 2, 5, 6}}));
    EXPECT_TRUE(FrameCanvas::bandEdges({4, 1, 4, 1}).empty());
}

TEST(ZoomToggle, GoesToTheDefaultAndBack)
{
    ZoomToggle toggle(100);
    EXPECT_FALSE(toggle.toggle(100, {5, 5})); // nothing saved yet
    const auto toDefault = toggle.toggle(400, {30, 40});
    ASSERT_TRUE(toDefault);
    EXPECT_EQ(*toDefault, (ZoomToggle::Target{100, std::nullopt}));
    EXPECT_EQ(toggle.toggle(100, {50, 50}), (ZoomToggle::Target{400, Point{30, 40}}));
    // Away from the default again: the new place is the one remembered.
    EXPECT_EQ(toggle.toggle(200, {1, 2}), (ZoomToggle::Target{100, std::nullopt}));
    EXPECT_EQ(toggle.toggle(100, {50, 50}), (ZoomToggle::Target{200, Point{1, 2}}));
}

TEST(PointerWarp, OnlyTheNextStaleEventMoves)
{
    PointerWarp warp;
    EXPECT_EQ(warp.filter({3, 3}), (Point{3, 3}));
    warp.moved({10, 10}, {50, 50});
    EXPECT_EQ(warp.filter({12, 11}), (Point{50, 50})); // queued before the move
    EXPECT_EQ(warp.filter({12, 11}), (Point{12, 11})); // later events as they come
    warp.moved({10, 10}, {50, 50});
    EXPECT_EQ(warp.filter({48, 47}), (Point{48, 47})); // already past the move
    EXPECT_EQ(warp.filter({11, 11}), (Point{11, 11}));
}

TEST(ZoomDialog, IntegersInRangeAndPresets)
{
    test::RecordingSink sink;
    EXPECT_EQ(acceptInteger(" 400 ", 10, 1600), 400);
    EXPECT_EQ(acceptInteger("10", 10, 1600), 10);
    EXPECT_TRUE(sink.shown.empty());
    for (const char* bad : {"5", "2000", "", "12a", "-"})
        EXPECT_FALSE(acceptInteger(bad, 10, 1600)) << bad;
    ASSERT_EQ(sink.shown.size(), 5u);
    EXPECT_EQ(sink.shown[0], "Please enter an integer between 10 and 1600.");

    EXPECT_EQ(CZoomDialog::presetFor(400), 0);
    EXPECT_EQ(CZoomDialog::presetFor(25), 4);
    EXPECT_EQ(CZoomDialog::presetFor(75), 5); // "Other:"
}
