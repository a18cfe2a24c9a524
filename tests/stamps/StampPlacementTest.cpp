// Where the stamp tool puts a stamp, and how the dragged transform joins the stamp's own.

#include <gtest/gtest.h>

#include "gfx/Sprite.h"
#include "stamps/StampPlacement.h"

namespace celvane {
namespace {

TEST(StampPlacement, KeysChooseTheMode)
{
    EXPECT_EQ(stampPlaceModeFor(false, false, false), StampPlaceMode::Plain);
    EXPECT_EQ(stampPlaceModeFor(false, true, false), StampPlaceMode::Rotate);
    EXPECT_EQ(stampPlaceModeFor(true, false, false), StampPlaceMode::Scale);
    EXPECT_EQ(stampPlaceModeFor(true, false, true), StampPlaceMode::Rotate);
    EXPECT_EQ(stampPlaceModeFor(true, true, false), StampPlaceMode::Timing);
}

TEST(StampPlacement, PlainStampsAreCentredOnThePointer)
{
    StampPlacer placer;
    EXPECT_FALSE(placer.start(StampPlaceMode::Plain, {10, 10}, 5, 4, std::nullopt));
    const StampPlacement p = placer.place({30, 20});
    EXPECT_EQ(p.destination, (Rect{28, 18, 33, 22}));
    EXPECT_FALSE(p.drag);
}

TEST(StampPlacement, RotatingFacesThePointerAndIgnoresSmallMoves)
{
    StampPlacer placer;
    const auto handle = placer.start(StampPlaceMode::Rotate, {100, 100}, 40, 20, std::nullopt);
    ASSERT_TRUE(handle);
    EXPECT_EQ(*handle, (Point{200, 100}));
    const auto angleAt = [&](Point at) { return placer.place(at).drag->angle; };
    EXPECT_NEAR(angleAt({200, 100}), 0, 1e-6);
    EXPECT_NEAR(angleAt({100, 200}), 90, 1e-6);
    EXPECT_NEAR(angleAt({0, 100}), 180, 1e-6);
    EXPECT_NEAR(angleAt({200, 200}), 45, 1e-6);
    // Near the centre the angle stays; right on it, it goes back to 0.
    EXPECT_NEAR(angleAt({103, 102}), 45, 1e-6);
    EXPECT_NEAR(angleAt({100, 100}), 0, 1e-6);
    const StampPlacement p = placer.place({150, 170});
    EXPECT_EQ(p.destination, (Rect{80, 90, 120, 110}));
    EXPECT_EQ(p.drag->scaleX, 1);
    EXPECT_EQ(p.drag->scaleY, 1);
}

TEST(StampPlacement, ScalingDragsACornerAndKeepsTheOppositeOne)
{
    StampPlacer placer;
    const auto corner = placer.start(StampPlaceMode::Scale, {100, 100}, 40, 20, std::nullopt);
    ASSERT_TRUE(corner);
    EXPECT_EQ(*corner, (Point{120, 110}));
    StampPlacement p = placer.place({120, 110});
    EXPECT_EQ(*p.drag, (PlotTransform{1, 1, 0}));
    EXPECT_EQ(p.destination, (Rect{80, 90, 120, 110}));
    // Twice the size: the top-left corner stays at (80, 90).
    p = placer.place({160, 130});
    EXPECT_EQ(*p.drag, (PlotTransform{2, 2, 0}));
    EXPECT_EQ(p.destination, (Rect{100, 100, 140, 120}));
    // Past the fixed corner the stamp turns over.
    p = placer.place({60, 110});
    EXPECT_DOUBLE_EQ(p.drag->scaleX, -0.5);

    // A flipped stamp is measured along its own edges: the pointer starts on a corner at scale 1.
    const auto flipped = placer.start(StampPlaceMode::Scale, {100, 100}, 40, 20, PlotTransform{-1, 1, 0});
    ASSERT_TRUE(flipped);
    p = placer.place(*flipped);
    EXPECT_DOUBLE_EQ(p.drag->scaleX, 1);
    EXPECT_DOUBLE_EQ(p.drag->scaleY, 1);
}

TEST(StampPlacement, TheDraggedTransformJoinsTheStampsOwn)
{
    const StampPlacement rotated{{0, 0, 10, 10}, PlotTransform{1, 1, 30}};
    const StampPlacement scaled{{0, 0, 10, 10}, PlotTransform{2, 3, 0}};
    const StampPlacement plain{{0, 0, 10, 10}, std::nullopt};
    // A turned stamp stretched by dragging: the stretch goes along its turned sides.
    PlotRequest r = stampPlot(scaled, PlotTransform{1, 1, 45}, kPlotMasked, 0x123456, nullptr);
    EXPECT_EQ(*r.transform, (PlotTransform{1, 1, 45}));
    EXPECT_EQ(*r.axisScale, (PlotTransform{2, 3, 0}));
    EXPECT_EQ(r.flags, kPlotMasked);
    EXPECT_EQ(r.colour, 0x123456u);
    r = stampPlot(rotated, PlotTransform{-1, 1, 350}, 0, 0, nullptr);
    EXPECT_EQ(*r.transform, (PlotTransform{-1, 1, 20}));
    EXPECT_FALSE(r.axisScale);
    r = stampPlot(scaled, PlotTransform{0.5, 1, 0}, 0, 0, nullptr);
    EXPECT_EQ(*r.transform, (PlotTransform{1, 3, 0}));
    r = stampPlot(plain, std::nullopt, 0, 0, nullptr);
    EXPECT_FALSE(r.transform);
    r = stampPlot(plain, PlotTransform{1, 1, 90}, 0, 0, nullptr);
    EXPECT_EQ(*r.transform, (PlotTransform{1, 1, 90}));
}

TEST(StampPlacement, TheChangedAreaCoversWhatThePlotDraws)
{
    Sprite stamp;
    stamp.create(40, 20, 0, 0, 8);
    PlotRequest plain;
    plain.destination = Rect{80, 90, 120, 110};
    EXPECT_EQ(stampChangedArea(stamp, plain), (Rect{80, 89, 120, 110}));
    plain.destination = Rect{-20, 0, 20, 20};
    EXPECT_EQ(stampChangedArea(stamp, plain), (Rect{-20, 0, 20, 20}));
    // A quarter turn: 20 wide and 40 high around the same centre.
    PlotRequest turned = plain;
    turned.destination = Rect{80, 90, 120, 110};
    turned.transform = PlotTransform{1, 1, 90};
    EXPECT_EQ(stampChangedArea(stamp, turned), (Rect{90, 80, 110, 120}));
}

} // namespace
} // namespace celvane
