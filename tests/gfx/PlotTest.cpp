// Transforms, shapes and the behaviour of plots at their edges: snapping, drawing contexts,
// bands, pieces, palettes and logical sizes. Pixel-by-pixel agreement over all combinations is
// PlotDifferentialTest's job.

#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "PlotTestSupport.h"
#include "base/Errors.h"
#include "gfx/Colour.h"
#include "gfx/PaletteSelection.h"
#include "gfx/PlotGeometry.h"
#include "gfx/Sprite.h"

namespace celvane {
namespace {

using test::copyOf;
using test::randomPalette;
using test::RecordingContext;
using test::scribble;

Sprite randomSprite(int width, int height, int bits, const PaletteRef& palette, unsigned seed)
{
    Sprite s;
    s.create(width, height, 0, 0, bits, palette);
    std::mt19937 random(seed);
    scribble(s, random);
    return s;
}

bool samePixels(const Sprite& a, const Sprite& b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixelAt(x, y) != b.pixelAt(x, y))
                return false;
    return true;
}

TEST(PlotGeometry, MatricesAndCombinedTransforms)
{
    EXPECT_FALSE(makeTransformMatrix({1, 1, 0}));
    const PlotMatrix scale = *makeTransformMatrix({2, 3, 0});
    EXPECT_EQ(scale.m11, 2);
    EXPECT_EQ(scale.m22, 3);
    EXPECT_EQ(scale.m12, 0);

    const PlotMatrix turn = *makeTransformMatrix({1, 2, 90});
    EXPECT_NEAR(turn.m11, 0, 1e-8);
    EXPECT_NEAR(turn.m12, 1, 1e-8);
    EXPECT_NEAR(turn.m21, -2, 1e-8);
    EXPECT_NEAR(turn.m22, 0, 1e-8);

    // Twice as long along axes turned by 45 degrees: the diagonal doubles, the other stays.
    const PlotTransform axes{1, 1, 45};
    const PlotMatrix along = *makeTransformMatrix({2, 1, 0}, &axes);
    EXPECT_NEAR(along.m11 + along.m21, 2, 1e-8);
    EXPECT_NEAR(along.m12 + along.m22, 2, 1e-8);
    EXPECT_NEAR(along.m11 - along.m21, 1, 1e-8);
    EXPECT_NEAR(along.m22 - along.m12, 1, 1e-8);
    // Axes that are not turned leave an ordinary scale.
    const PlotTransform straight{1, 1, 0};
    EXPECT_EQ(makeTransformMatrix({2, 1, 0}, &straight)->m11, 2);

    const PlotMatrix both = *makeTransformMatrix({1, 1, 90}) * *makeTransformMatrix({1, 1, 90});
    EXPECT_NEAR(both.m11, -1, 1e-8);
    EXPECT_NEAR(both.m22, -1, 1e-8);

    EXPECT_EQ(combineTransforms({2, 1, 350}, {0.5, 3, 20}), (PlotTransform{1, 3, 10}));
    EXPECT_EQ(combineTransforms({1, 1, -30}, {1, 1, -30}), (PlotTransform{1, 1, 300}));
    EXPECT_FALSE(combineTransforms({-1, 1, 0}, {-1, 1, 0})); // flipped twice: no transform
    EXPECT_FALSE(combineTransforms({1, 1, 270}, {1, 1, 90}));
}

TEST(PlotGeometry, ShapesAreCentredAndRectanglesDropTheTransform)
{
    const Rect source{0, 0, 10, 20};
    const Rect destination{0, 0, 40, 40};
    const PlotShape turned = transformedShape(*makeTransformMatrix({1, 1, 90}), source, destination);
    EXPECT_FALSE(turned.asRectangle());
    EXPECT_EQ(shapeBounds(turned), (Rect{10, 15, 30, 25}));

    // A flip stays a rectangle, mirrored.
    const PlotShape flipped = transformedShape(*makeTransformMatrix({-1, 1, 0}), source, destination);
    EXPECT_EQ(flipped.asRectangle(), (Rect{25, 10, 15, 30}));
    const PlotShape half = transformedShape(*makeTransformMatrix({0.5, 0.5, 0}), source, destination);
    EXPECT_EQ(half.asRectangle(), (Rect{18, 15, 23, 25}));

    // Bounds take whole units around fractional corners.
    PlotShape odd = PlotShape::of({0, 0, 4, 4});
    odd.corners[0] = {-1, 300};
    EXPECT_EQ(shapeBounds(odd), (Rect{-1, 0, 4, 4}));
}

TEST(Plot, SamePaletteStampSkipsKeyPixelsAndReplacesOneColour)
{
    const PaletteRef palette = randomPalette(256, 3);
    Sprite stamp = randomSprite(16, 12, 8, palette, 1);
    for (int x = 0; x < 16; ++x)
        stamp.setPixelAt(x, x % 12, 9);
    stamp.setTransparentColour(stamp.colourWordOf(9), true);
    const Sprite frame = randomSprite(16, 12, 8, palette, 2);

    Sprite placed = copyOf(frame);
    PlotRequest request;
    request.destinationSprite = &placed;
    request.flags = kPlotMasked;
    EXPECT_EQ(stamp.plot(request), 1);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(placed.pixelAt(x, y), stamp.pixelAt(x, y) == 9 ? frame.pixelAt(x, y) : stamp.pixelAt(x, y));

    // Solid, in a single colour: only the key pixels change, to that colour.
    stamp.setTransparentColour(stamp.colourWordOf(9), false);
    Sprite replaced = copyOf(frame);
    request.destinationSprite = &replaced;
    request.flags = kPlotMasked | kPlotSingleColour;
    request.colour = rgbOfWord(palette->entry(200));
    EXPECT_EQ(stamp.plot(request), 1);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(replaced.pixelAt(x, y), stamp.pixelAt(x, y) == 9 ? 200u : frame.pixelAt(x, y));
}

TEST(Plot, ClipInsideCellsSnapsToWholeCellsAsTheFastSettingSays)
{
    const Sprite picture = randomSprite(10, 10, 8, randomPalette(256, 4), 5);
    PlotRequest request;
    request.destination = Rect{0, 0, 30, 30};
    request.clip = Rect{4, 5, 11, 13};
    request.source = Rect{5, 5, 6, 6}; // ignored with a clip

    RecordingContext screen;
    request.context = &screen;
    EXPECT_EQ(picture.plot(request), 0);
    plotSettings().fast256 = false;
    EXPECT_EQ(picture.plot(request), 0);
    plotSettings().fast256 = true;
    ASSERT_EQ(screen.copies.size(), 2u);
    EXPECT_EQ(screen.copies[0].sourcePixels, (Rect{1, 1, 4, 5}));
    EXPECT_EQ(screen.copies[0].destination, (Rect{3, 3, 12, 15}));
    // Not snapped: the whole picture, left to the context's own clipping.
    EXPECT_EQ(screen.copies[1].sourcePixels, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(screen.copies[1].destination, (Rect{0, 0, 30, 30}));

    // Onto a sprite: whole cells, no more.
    const Sprite blank = randomSprite(30, 30, 8, picture.palette(), 6);
    Sprite canvas = copyOf(blank);
    request.context = nullptr;
    request.destinationSprite = &canvas;
    EXPECT_EQ(picture.plot(request), 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inCells = x >= 3 && x < 12 && y >= 3 && y < 15;
            ASSERT_EQ(canvas.pixelAt(x, y), inCells ? picture.pixelAt(x / 3, y / 3) : blank.pixelAt(x, y));
        }
}

TEST(Plot, IdentityTransformPlotsLikeNone)
{
    const Sprite picture = randomSprite(7, 5, 4, randomPalette(16, 7), 8);
    const Sprite blank = randomSprite(20, 20, 32, {}, 9);
    Sprite plain = copyOf(blank);
    Sprite identity = copyOf(blank);
    PlotRequest request;
    request.destination = Rect{2, 3, 16, 13};
    request.destinationSprite = &plain;
    picture.plot(request);
    request.transform = PlotTransform{1, 1, 0};
    request.destinationSprite = &identity;
    picture.plot(request);
    EXPECT_TRUE(samePixels(plain, identity));
    EXPECT_EQ(plain.pixelAt(15, 12), rgbOfWord(picture.colourWordOf(picture.pixelAt(6, 4))));
}

TEST(Plot, NothingToDrawLeavesEverythingAlone)
{
    const Sprite picture = randomSprite(8, 8, 8, randomPalette(256, 10), 11);
    const Sprite blank = randomSprite(20, 20, 8, picture.palette(), 12);
    Sprite canvas = copyOf(blank);
    RecordingContext screen;
    PlotRequest request;
    request.destination = Rect{0, 0, 8, 8};
    request.clip = Rect{10, 10, 20, 20};
    request.context = &screen;
    EXPECT_EQ(picture.plot(request), 1);
    request.destinationSprite = &canvas;
    EXPECT_EQ(picture.plot(request), 1);
    request.clip.reset();
    request.destination = Rect{4, 4, 4, 12};
    EXPECT_EQ(picture.plot(request), 1);
    // A turned plot whose shape misses the clip.
    request.destination = Rect{0, 0, 8, 8};
    request.transform = PlotTransform{1, 1, 30};
    request.clip = Rect{15, 15, 20, 20};
    EXPECT_EQ(picture.plot(request), 1);
    EXPECT_TRUE(screen.copies.empty());
    EXPECT_TRUE(samePixels(canvas, blank));
}

TEST(Plot, PlotsOntoContextsCopyOrRefuse)
{
    Sprite picture;
    picture.create(10, 20, 20, 20, 8); // pixels twice as tall as wide
    RecordingContext screen;
    PlotRequest request;
    request.context = &screen;
    request.source = Rect{2, 4, 12, 20};
    request.destination = Rect{50, 10, 30, 26}; // mirrored
    EXPECT_EQ(picture.plot(request), 0);
    ASSERT_EQ(screen.copies.size(), 1u);
    EXPECT_EQ(screen.copies[0].sourcePixels, (Rect{1, 4, 6, 20}));
    EXPECT_EQ(screen.copies[0].destination, (Rect{50, 10, 30, 26}));

    // Masked or single-colour plots need a destination sprite unless transformed.
    picture.setTransparentColour(0, true);
    request.flags = kPlotMasked;
    EXPECT_EQ(picture.plot(request), int(kPlotMasked));
    request.flags = kPlotSingleColour | kPlotInvertSolid;
    EXPECT_EQ(picture.plot(request), int(kPlotSingleColour | kPlotInvertSolid));
    EXPECT_EQ(screen.copies.size(), 1u);

    EXPECT_THROW(picture.plot(PlotRequest{}), NotSupportedError);
    Sprite empty;
    request.destinationSprite = &empty;
    EXPECT_THROW(picture.plot(request), NotSupportedError);
}

// An 8-bit display: the picture's palette must be selected while it is copied, and the
// display's own one given back afterwards.
class PaletteScreen : public PaletteDrawingContext {
public:
    Rect toDevice(const Rect& logical) const override { return logical; }
    void stretchCopy(const Sprite&, const Rect&, const Rect&) override { selectedWhileCopying = selected; }
    const PlatformPalette* selectPalette(const PlatformPalette* palette) override
    {
        return std::exchange(selected, palette);
    }

    const PlatformPalette* selected = nullptr;
    const PlatformPalette* selectedWhileCopying = nullptr;
};

TEST(Plot, CopyOntoPaletteDisplaySelectsThePicturesPalette)
{
    const Sprite picture = randomSprite(6, 6, 4, randomPalette(16, 23), 24);
    PaletteScreen screen;
    PlotRequest request;
    request.context = &screen;
    EXPECT_EQ(picture.plot(request), 0);
    EXPECT_EQ(screen.selectedWhileCopying, &picture.palette()->platformPalette());
    EXPECT_EQ(screen.selected, nullptr);
}

TEST(Plot, TurnedPlotOntoContextGoesInBandsMatchingADirectPlot)
{
    Sprite stamp = randomSprite(150, 100, 8, randomPalette(256, 13), 14);
    for (int y = 0; y < 100; ++y)
        for (int x = y % 3; x < 150; x += 3)
            stamp.setPixelAt(x, y, 40);
    stamp.setTransparentColour(stamp.colourWordOf(40), true);
    const Sprite blank = randomSprite(400, 300, 32, {}, 15);

    PlotRequest request;
    request.destination = Rect{20, 10, 380, 290};
    request.transform = PlotTransform{1.5, 1.5, 30};
    request.flags = kPlotMasked;
    Sprite direct = copyOf(blank);
    request.destinationSprite = &direct;
    stamp.plot(request);

    Sprite screenPixels = copyOf(blank);
    RecordingContext screen(&screenPixels);
    request.destinationSprite = nullptr;
    request.context = &screen;
    EXPECT_EQ(stamp.plot(request), 1);
    ASSERT_GT(screen.copies.size(), 1u);
    for (const auto& copy : screen.copies)
        EXPECT_LE(copy.sourceWidth * copy.sourceHeight, 64000);
    EXPECT_TRUE(samePixels(direct, screenPixels));
}

TEST(Plot, PiecesDrawnThroughClipsMatchTheWholePlot)
{
    const Sprite picture = randomSprite(23, 17, 4, randomPalette(16, 16), 17);
    const Sprite blank = randomSprite(60, 50, 1, {}, 18);
    PlotRequest request;
    request.destination = Rect{5, 5, 55, 45};
    request.transform = PlotTransform{1.7, 1.3, 105};
    Sprite whole = copyOf(blank);
    request.destinationSprite = &whole;
    picture.plot(request);

    Sprite pieces = copyOf(blank);
    request.destinationSprite = &pieces;
    for (const Rect& clip : {Rect{0, 0, 31, 23}, Rect{31, 0, 60, 23}, Rect{0, 23, 31, 50}, Rect{31, 23, 60, 50}}) {
        request.clip = clip;
        picture.plot(request);
    }
    EXPECT_TRUE(samePixels(whole, pieces));
    EXPECT_FALSE(samePixels(whole, blank));
}

TEST(Plot, PlotOntoItselfReadsThePictureAsItWas)
{
    Sprite picture = randomSprite(12, 9, 16, {}, 25);
    const Sprite before = copyOf(picture);
    Sprite expected = copyOf(picture);
    PlotRequest request;
    request.destination = Rect{12, 0, 0, 9}; // mirrored
    request.destinationSprite = &expected;
    before.plot(request);
    request.destinationSprite = &picture;
    picture.plot(request);
    EXPECT_TRUE(samePixels(picture, expected));
}

TEST(Plot, ColourTranslationFollowsPaletteChanges)
{
    const PaletteRef frames = randomPalette(256, 19);
    PaletteRef stamps = randomPalette(16, 20);
    Sprite stamp;
    stamp.create(4, 4, 0, 0, 4, stamps);
    stamp.fillPixel(3);
    Sprite frame;
    frame.create(4, 4, 0, 0, 8, frames);
    PlotRequest request;
    request.destinationSprite = &frame;

    stamps->setEntry(3, frames->entry(77));
    stamp.plot(request);
    EXPECT_EQ(frame.pixelAt(2, 2), 77u);
    stamps->setEntry(3, frames->entry(150));
    stamp.plot(request);
    EXPECT_EQ(frame.pixelAt(2, 2), 150u);

    // The same stamp onto a frame of another palette: that palette's own entry.
    const PaletteRef others = randomPalette(256, 21);
    others->setEntry(201, frames->entry(150));
    Sprite other;
    other.create(4, 4, 0, 0, 8, others);
    request.destinationSprite = &other;
    stamp.plot(request);
    EXPECT_EQ(rgbOfWord(others->entry(int(other.pixelAt(2, 2)))), rgbOfWord(frames->entry(150)));
    EXPECT_EQ(other.pixelAt(2, 2), uint32_t(others->nearestIndex(rgbOfWord(frames->entry(150)))));
}

TEST(Plot, LogicalSizesOfBothSpritesAreHonoured)
{
    // A source of pixels twice as wide as tall, onto a destination of four pixels per unit.
    Sprite picture;
    picture.create(5, 10, 10, 10, 16);
    std::mt19937 random(22);
    scribble(picture, random);
    Sprite canvas;
    canvas.create(40, 40, 10, 10, 16);
    PlotRequest request;
    request.destination = Rect{0, 0, 10, 10};
    request.destinationSprite = &canvas;
    picture.plot(request);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(canvas.pixelAt(x, y), picture.pixelAt(x / 8, y / 4)) << x << ", " << y;
}

} // namespace
} // namespace celvane
