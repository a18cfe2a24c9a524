#include <gtest/gtest.h>

#include "playback/FilmStrip.h"

using namespace celvane;

TEST(FilmStrip, DraggingMovesThroughTheFilmWithinItsEnds)
{
    FilmStrip strip;
    strip.press(100, 0, FilmStrip::Moving);
    EXPECT_EQ(strip.move(101, 5, 2), std::nullopt); // not yet past the drag distance
    EXPECT_EQ(strip.move(86, 5, 2), 0);             // 14 pixels
    EXPECT_EQ(strip.move(85, 5, 2), 1);             // 15 pixels
    EXPECT_EQ(strip.move(200, 5, 2), 0);            // not before frame 0
    EXPECT_EQ(strip.offset(), 0);
    EXPECT_EQ(strip.move(-1000, 5, 2), 4);          // nor past the last frame
    EXPECT_EQ(strip.offset(), -120);
    // Once started, small moves count too.
    EXPECT_EQ(strip.move(101, 5, 2), 0);

    // The pointer pulled back from an edge keeps the strip where it was.
    strip.press(500, 2, FilmStrip::Marking);
    EXPECT_EQ(strip.move(10, 40, 2), 2 + 16);
    const int before = strip.offset();
    const int by = strip.warpAtEdge(0, 0, 1000);
    EXPECT_EQ(by, 500);
    EXPECT_EQ(strip.move(0 + by, 40, 2), 2 + 17);
    EXPECT_EQ(strip.offset(), before - 10);
    EXPECT_EQ(strip.warpAtEdge(400, 0, 1000), 0);
    EXPECT_EQ(strip.release(7), -500);
    EXPECT_EQ(strip.offset(), -210);
    EXPECT_EQ(strip.mode(), FilmStrip::None);
    strip.follow(3);
    EXPECT_EQ(strip.offset(), -90);
}
