#include <gtest/gtest.h>

#include <map>
#include <set>

#include "TestSupport.h"
#include "base/Settings.h"
#include "view/ViewLayout.h"

using namespace celvane;

TEST(ViewLayout, ZoomStepsAndClamping)
{
    EXPECT_EQ(ViewLayout::zoomIn(75), 100);
    EXPECT_EQ(ViewLayout::zoomOut(75), 50);
    EXPECT_EQ(ViewLayout::zoomIn(100), 200);
    EXPECT_EQ(ViewLayout::zoomOut(100), 50);
    EXPECT_EQ(ViewLayout::zoomIn(1600), 1600);
    EXPECT_EQ(ViewLayout::zoomOut(25), 25);
    EXPECT_EQ(ViewLayout::zoomIn(10), 25);
    EXPECT_EQ(ViewLayout::zoomIn(900), 1600);
    EXPECT_EQ(ViewLayout::clampScale(5), 10);
    EXPECT_EQ(ViewLayout::clampScale(2000), 1600);
}

TEST(ViewLayout, CentresSmallFramesAndScrollsLargeOnes)
{
    ViewLayout v;
    v.setFrameSize(100, 50, 100, 50);
    v.setClientSize(300, 200);
    EXPECT_EQ(v.frameRect(), (Rect{100, 75, 200, 125}));
    EXPECT_TRUE(v.setScale(400));
    // 400 x 200 in a 300 x 200 window: scrolled so the middle of the frame is in the middle.
    EXPECT_EQ(v.scrollX(), 50);
    EXPECT_EQ(v.frameRect(), (Rect{-50, 0, 350, 200}));
    EXPECT_FALSE(v.setScale(400));
    EXPECT_TRUE(v.setScale(400, Point{0, 0}));
    EXPECT_EQ(v.scrollX(), 0);
    EXPECT_TRUE(v.setScale(800, Point{100, 50}));
    EXPECT_EQ(v.scrollX(), 800 - 300);
    EXPECT_EQ(v.scrollY(), 400 - 200);
    v.setScroll(-5, 100000);
    EXPECT_EQ(v.scrollX(), 0);
    EXPECT_EQ(v.scrollY(), 200);
    v.setFrameSize(100, 50, 100, 50); // the same size again: the scroll stays
    EXPECT_EQ(v.scrollY(), 200);
}

TEST(ViewLayout, MapsBetweenClientAndFrame)
{
    ViewLayout v;
    v.setFrameSize(100, 50, 100, 50);
    v.setClientSize(300, 200);
    v.setScale(200);
    const Rect r = v.frameRect(); // 200 x 100 at (50, 50)
    ASSERT_EQ(r, (Rect{50, 50, 250, 150}));
    EXPECT_EQ(v.clientToFrame({51, 51}, false), (Point{0, 0}));
    EXPECT_EQ(v.clientToFrame({53, 53}, false), (Point{1, 1}));
    EXPECT_EQ(v.clientToFrame({53, 53}, true), (Point{2, 2})); // rounds to the nearest edge
    EXPECT_EQ(v.clientToFrame({0, 0}, true), (Point{0, 0}));
    EXPECT_EQ(v.clientToFrame({299, 199}, true), (Point{100, 50})); // the size itself is allowed
    EXPECT_EQ(v.frameToClient({10, 10}, false), (Point{70, 70}));
    EXPECT_EQ(v.frameToClient({100, 50}, true), (Point{249, 149}));
    EXPECT_EQ(v.frameToClient({kNoValue, 3}, false).x, kNoValue);
    EXPECT_EQ(v.frameToClient(Rect{0, 0, 10, 5}), (Rect{50, 50, 70, 60}));

    // Pixels twice as tall as wide (logical 100 x 100 for 100 x 50 pixels), shown pixel for
    // pixel: the mapping goes through logical units and back to the same pixel.
    ViewLayout tall;
    tall.setFrameSize(100, 50, 100, 100);
    tall.setClientSize(100, 50);
    EXPECT_EQ(tall.clientToFrame({40, 40}, false), (Point{40, 40}));
}

TEST(ViewLayout, ZoomToRectangle)
{
    ViewLayout v;
    v.setFrameSize(400, 300, 400, 300);
    v.setClientSize(400, 300);
    EXPECT_EQ(v.scaleForRect({0, 0, 100, 100}), 400); // fit 225%: 25, 50, 100 (current), 200, 400
    EXPECT_EQ(v.scaleForRect({0, 0, 1, 1}), 1600);
}

TEST(GridSettings, SnapLoadAndMarks)
{
    GridSettings g;
    g.lock = true;
    EXPECT_EQ(g.snapX(7), 0);
    EXPECT_EQ(g.snapX(8), 16);
    ViewLayout v;
    v.setFrameSize(100, 100, 100, 100);
    v.setClientSize(100, 100);
    EXPECT_EQ(v.clientToFrame({8, 7}, false, &g), (Point{16, 0}));

    test::TempDir dir;
    Settings s(dir.path() / "g.ini");
    s.writeInt("Grid", "XSubDivs", 2);
    s.writeInt("Grid", "XSpacing", 0); // nonsense falls back
    s.writeInt("Grid", "Show", 1);
    const GridSettings loaded = GridSettings::load(s);
    EXPECT_EQ(loaded.xSubDivs, 2);
    EXPECT_EQ(loaded.ySubDivs, 2);
    EXPECT_EQ(loaded.xSpacing, 64);
    EXPECT_TRUE(loaded.show);

    // A 128 x 128 frame at 100%: major lines at 0 and 64, minor steps of 16. Count inversions
    // per pixel; a pixel inverted an even number of times shows nothing.
    std::map<std::pair<int, int>, int> hits;
    const auto odd = [&](int x, int y) { return hits[std::make_pair(x, y)] % 2 == 1; };
    GridSettings grid;
    grid.forEachMark({0, 0, 128, 128}, 128, 128, {0, 0, 128, 128}, [&](int x, int y) { ++hits[{x, y}]; });
    EXPECT_TRUE(odd(64, 16)); // a dot on a vertical line
    EXPECT_TRUE(odd(16, 64)); // a dot on a horizontal line
    EXPECT_TRUE(odd(66, 64)); // the arm of a cross
    EXPECT_FALSE(odd(8, 8));
    // Only the repainted area (enlarged by 3) is visited.
    std::set<std::pair<int, int>> limited;
    grid.forEachMark({0, 0, 128, 128}, 128, 128, {100, 100, 110, 110}, [&](int x, int y) { limited.insert({x, y}); });
    for (const auto& [x, y] : limited)
        EXPECT_TRUE(x >= 97 && x < 113 && y >= 97 && y < 113);
}
