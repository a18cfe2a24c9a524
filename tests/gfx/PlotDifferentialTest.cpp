// The plotting engine against a plain reference plotter, one destination pixel at a time,
// for every pair of depths, every transparency mode, single colour on and off, and a range of
// rectangles, transforms and clips.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "gfx/Colour.h"
#include "gfx/PlotGeometry.h"
#include "gfx/Sprite.h"
#include "PlotTestSupport.h"

namespace celvane {
namespace {

using test::copyOf;
using test::randomPalette;
using test::scribble;

__extension__ typedef __int128 Wide;

Wide floorDiv(Wide n, Wide d)
{
    const Wide q = n / d;
    return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

// The parallelogram the plot fills (test sprites have logical size = pixel size), and the
// source rectangle it shows.
PlotShape referenceShape(const Sprite& src, const PlotRequest& r, Rect& source)
{
    source = r.source && !r.clip ? *r.source : Rect{0, 0, src.width(), src.height()};
    Rect destination = r.destination.value_or(Rect{0, 0, src.width(), src.height()});
    if (r.transform) {
        std::optional<PlotMatrix> m = makeTransformMatrix(*r.transform);
        if (r.axisScale) {
            const PlotTransform scale{r.axisScale->scaleX, r.axisScale->scaleY, 0};
            if (auto along = makeTransformMatrix(scale, &*r.transform))
                m = m ? *m * *along : *along;
        }
        if (m) {
            const PlotShape shape = transformedShape(*m, source, destination);
            if (auto rectangle = shape.asRectangle())
                destination = *rectangle;
            else
                return shape;
        }
    }
    return PlotShape::of(destination);
}

// Each destination pixel whose centre falls inside the shape shows the source pixel its
// centre maps back onto; the mode decides whether it is written, the colour stage what with.
void referencePlot(const Sprite& src, Sprite& dst, const PlotRequest& r)
{
    Rect source;
    const auto p = referenceShape(src, r, source).corners;
    const Wide e1x = p[1].x - p[0].x, e1y = p[1].y - p[0].y;
    const Wide e2x = p[3].x - p[0].x, e2y = p[3].y - p[0].y;
    const Wide det = e1x * e2y - e1y * e2x;
    if (det == 0)
        return;

    uint32_t flags = r.flags;
    const bool hasKey = src.hasTransparentColour();
    const bool hasMask = src.mask() != nullptr;
    if (!hasKey && !hasMask)
        flags &= ~kPlotMasked;
    const bool active = flags & (kPlotMasked | kPlotSingleColour);
    const bool keyInUse = hasKey && active;
    const bool solid = src.solid() != bool(flags & kPlotInvertSolid);
    const bool maskInUse = !keyInUse && hasMask && active;
    const uint32_t key = src.pixelValueOf(src.transparentColour());
    const bool palettes = src.bitsPerPixel() <= 8;
    const bool sameColours = src.bitsPerPixel() == dst.bitsPerPixel()
                             && (!palettes || src.palette().get() == dst.palette().get());

    for (int y = 0; y < dst.height(); ++y)
        for (int x = 0; x < dst.width(); ++x) {
            const Wide dx = Wide(x) * 256 + 128 - p[0].x;
            const Wide dy = Wide(y) * 256 + 128 - p[0].y;
            // Where the centre lies across (a / det) and down (b / det) the shape.
            Wide a = dx * e2y - dy * e2x;
            Wide b = e1x * dy - e1y * dx;
            Wide d = det;
            if (d < 0) {
                a = -a;
                b = -b;
                d = -d;
            }
            if (a < 0 || a >= d || b < 0 || b >= d)
                continue;
            const int sx = source.left + int(floorDiv(a * source.width(), d));
            const int sy = source.top + int(floorDiv(b * source.height(), d));
            if (sx < 0 || sy < 0 || sx >= src.width() || sy >= src.height())
                continue;
            if (maskInUse && !src.mask()->pixelAt(sx, sy))
                continue;
            const uint32_t pixel = src.pixelAt(sx, sy);
            if (keyInUse && (pixel == key) != solid)
                continue;
            uint32_t value = pixel;
            if (flags & kPlotSingleColour)
                value = dst.pixelValueForRgb(r.colour);
            else if (!sameColours)
                value = dst.pixelValueForRgb(rgbOfWord(src.colourWordOf(pixel)));
            dst.setPixelAt(x, y, value);
        }
}

struct Placement {
    std::string name;
    std::optional<Rect> destination;
    std::optional<Rect> source;
    std::optional<PlotTransform> transform;
    std::optional<PlotTransform> axisScale;
    std::optional<Rect> clip;
};

// Source 9 x 7, destination 30 x 24.
std::vector<Placement> placements()
{
    std::vector<Placement> list = {
        {"same size", Rect{3, 2, 12, 9}, {}, {}, {}, {}},
        {"partly outside", Rect{-4, 19, 5, 26}, {}, {}, {}, {}},
        {"three times", Rect{1, 1, 28, 22}, {}, {}, {}, {}},
        {"mirrored twice as wide", Rect{29, 3, 11, 10}, {}, {}, {}, {}},
        {"flipped and stretched", Rect{2, 22, 15, 11}, {}, {}, {}, {}},
        {"shrunk", Rect{5, 5, 10, 9}, {}, {}, {}, {}},
        {"part of the source", Rect{0, 0, 15, 15}, Rect{2, 1, 7, 6}, {}, {}, {}},
        {"scale 1.5", Rect{10, 10, 19, 17}, {}, PlotTransform{1.5, 1.5, 0}, {}, {}},
        {"flip by transform", Rect{10, 10, 19, 17}, {}, PlotTransform{-1, 1, 0}, {}, {}},
        {"along turned axes", Rect{4, 4, 26, 20}, {}, PlotTransform{1, 1, 30}, PlotTransform{2, 0.5, 0}, {}},
        {"turned and shrunk", Rect{4, 4, 26, 20}, {}, PlotTransform{0.6, 0.7, 45}, {}, {}},
        {"clip inside cells", Rect{1, 1, 28, 22}, {}, {}, {}, Rect{4, 5, 17, 13}},
        {"clip, not a multiple", Rect{2, 22, 15, 11}, {}, {}, {}, Rect{4, 14, 11, 20}},
        {"clip of a turned plot", Rect{4, 4, 26, 20}, {}, PlotTransform{1.2, 1, 30}, {}, Rect{10, 8, 20, 18}},
    };
    // Every 15-degree step once, at two scales.
    for (int step = 1; step < 24; ++step)
        list.push_back({"turned " + std::to_string(step * 15), Rect{3, 3, 27, 21}, {},
                        PlotTransform{step % 2 ? 1.0 : 1.4, step % 3 ? 1.0 : -0.8, step * 15.0}, {}, {}});
    return list;
}

enum class Keying { None, Masked, Solid, InvertedSolid, Mask, MaskedWithoutAny };

struct Variant {
    Keying keying;
    bool single;
};

uint32_t flagsFor(const Variant& v)
{
    uint32_t flags = v.single ? kPlotSingleColour : 0;
    switch (v.keying) {
    case Keying::None:
        return flags;
    case Keying::InvertedSolid:
        return flags | kPlotMasked | kPlotInvertSolid;
    default:
        return flags | kPlotMasked;
    }
}

// A 9 x 7 source with a quarter of its pixels of the key value.
Sprite makeSource(int bits, const PaletteRef& palette, Keying keying, std::mt19937& random)
{
    Sprite s;
    s.create(9, 7, 0, 0, bits, palette);
    scribble(s, random);
    const uint32_t key = bits == 1 ? 1 : bits == 4 ? 5 : bits == 8 ? 77 : bits == 16 ? 0x1234 : 0x00805020;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            if (random() % 4 == 0)
                s.setPixelAt(x, y, key);
    const uint32_t word = s.colourWordOf(key);
    switch (keying) {
    case Keying::Masked:
    case Keying::InvertedSolid:
        s.setTransparentColour(word, true);
        break;
    case Keying::Solid:
        s.setTransparentColour(word, false);
        break;
    case Keying::Mask:
        scribble(s.ensureMask(), random);
        break;
    default:
        break;
    }
    return s;
}

std::string describe(int sb, int db, bool shared, const Variant& v, const Placement& p)
{
    std::ostringstream out;
    out << sb << " -> " << db << (shared ? " (same palette)" : "") << ", keying " << int(v.keying)
        << (v.single ? ", single colour" : "") << ", " << p.name;
    return out.str();
}

TEST(PlotDifferential, EngineMatchesReferenceForEveryCombination)
{
    const int depths[] = {1, 4, 8, 16, 32};
    const auto places = placements();
    std::mt19937 random(20240607);
    int plots = 0;

    for (int sb : depths)
        for (int db : depths)
            for (bool shared : {false, true}) {
                if (shared && (sb != db || sb > 8))
                    continue;
                const PaletteRef sourcePalette = sb <= 8 ? randomPalette(1 << sb, unsigned(sb)) : PaletteRef{};
                const PaletteRef destinationPalette =
                    shared ? sourcePalette : db <= 8 ? randomPalette(1 << db, unsigned(100 + db)) : PaletteRef{};
                Sprite initial;
                initial.create(30, 24, 0, 0, db, destinationPalette);
                scribble(initial, random);

                for (Keying keying : {Keying::None, Keying::Masked, Keying::Solid, Keying::InvertedSolid, Keying::Mask,
                                      Keying::MaskedWithoutAny})
                    for (bool single : {false, true}) {
                        const Variant variant{keying, single};
                        const Sprite source = makeSource(sb, sourcePalette, keying, random);
                        for (const Placement& place : places) {
                            PlotRequest request;
                            request.destination = place.destination;
                            request.source = place.source;
                            request.transform = place.transform;
                            request.axisScale = place.axisScale;
                            request.clip = place.clip;
                            request.flags = flagsFor(variant);
                            request.colour = rgb(200, 40, 90);

                            Sprite engine = copyOf(initial);
                            request.destinationSprite = &engine;
                            ASSERT_EQ(source.plot(request), 1);
                            // Clipped plots are judged against the whole plot: the same pixels
                            // inside the clip, and outside either untouched or the same.
                            Sprite reference = copyOf(initial);
                            PlotRequest whole = request;
                            whole.clip.reset();
                            referencePlot(source, reference, whole);
                            ++plots;

                            for (int y = 0; y < 24; ++y)
                                for (int x = 0; x < 30; ++x) {
                                    const uint32_t got = engine.pixelAt(x, y);
                                    const uint32_t want = reference.pixelAt(x, y);
                                    const bool inClip = !place.clip
                                                        || (x >= place.clip->left && x < place.clip->right
                                                            && y >= place.clip->top && y < place.clip->bottom);
                                    const bool ok = got == want || (!inClip && got == initial.pixelAt(x, y));
                                    ASSERT_TRUE(ok) << describe(sb, db, shared, variant, place) << ": pixel (" << x
                                                    << ", " << y << ") is " << got << ", want " << want;
                                }
                        }
                    }
            }
    EXPECT_EQ(plots, 28 * 12 * int(places.size()));
}

} // namespace
} // namespace celvane
