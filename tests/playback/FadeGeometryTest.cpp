#include <gtest/gtest.h>

#include "film/FrameFade.h"
#include "playback/FadeGeometry.h"

using namespace celvane;

TEST(FadeGeometry, SlideWipeAndSlats)
{
    // A slide starts a whole frame away on the named side and comes to rest.
    EXPECT_EQ(fadeStep(FrameFade::Slide, FrameFade::FromLeft, 0, 32, 100, 60).shift, (Point{-100, 0}));
    EXPECT_EQ(fadeStep(FrameFade::Slide, FrameFade::FromLeft, 16, 32, 100, 60).shift, (Point{-50, 0}));
    EXPECT_EQ(fadeStep(FrameFade::Slide, FrameFade::FromRight, 16, 32, 100, 60).shift, (Point{50, 0}));
    EXPECT_EQ(fadeStep(FrameFade::Slide, FrameFade::FromBottom, 31, 32, 100, 64).shift, (Point{0, 2}));

    // Wipe strips of size / steps + 1 from the named side; the last ones are cut at the edge.
    EXPECT_EQ(fadeStep(FrameFade::Wipe, FrameFade::FromLeft, 1, 32, 100, 60).parts, (std::vector<Rect>{{4, 0, 8, 60}}));
    EXPECT_EQ(fadeStep(FrameFade::Wipe, FrameFade::FromRight, 0, 32, 100, 60).parts, (std::vector<Rect>{{96, 0, 100, 60}}));
    EXPECT_EQ(fadeStep(FrameFade::Wipe, FrameFade::FromTop, 31, 32, 100, 60).parts, (std::vector<Rect>{{0, 60, 100, 60}}));
    int covered = 0;
    for (int s = 0; s < 32; ++s)
        for (const Rect& r : fadeStep(FrameFade::Wipe, FrameFade::FromBottom, s, 32, 100, 60).parts)
            covered += r.height();
    EXPECT_EQ(covered, 60);

    // Slats: two pixels every 32, moving on two pixels a step.
    EXPECT_EQ(fadeStep(FrameFade::Slats, FrameFade::FromTop, 1, 16, 100, 70).parts,
              (std::vector<Rect>{{0, 2, 100, 4}, {0, 34, 100, 36}, {0, 66, 100, 68}}));
    EXPECT_EQ(fadeStep(FrameFade::Slats, FrameFade::FromRight, 15, 16, 40, 10).parts,
              (std::vector<Rect>{{8, 0, 10, 10}}));
}
