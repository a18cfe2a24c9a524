#include <gtest/gtest.h>

#include <memory>

#include "film/FileType.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "playback/FilmSpeed.h"
#include "view/PreviewMode.h"

using namespace celvane;

namespace {

std::unique_ptr<Film> makeFilm(int frames, int width = 16, int height = 8)
{
    auto film = std::make_unique<Film>();
    const ImageInfo info = ImageInfo::forFilm(width, height, 8);
    film->load(0, &info, nullptr, FileType::Film);
    for (int i = 1; i < frames; ++i)
        film->insertFrame(i, false);
    return film;
}

// Frame f filled with palette index `index` except for one pixel of `dot`.
void fill(Film& film, int frame, int index, int dot)
{
    Sprite* s = film.workingImage(frame);
    for (int y = 0; y < s->height(); ++y)
        for (int x = 0; x < s->width(); ++x)
            s->setPixelAt(x, y, uint32_t(index));
    s->setPixelAt(1, 1, uint32_t(dot));
    film.markCurrentModified();
}

uint32_t rgbOfIndex(const Film& film, int i) { return rgbOfWord(film.palette()->entry(i)); }

// The dither as written out plainly: serpentine rows in fixed point, with a full-size error
// array, through the nearest colour of each 4-bit cell.
std::vector<uint8_t> referenceDither(const std::vector<uint32_t>& rgbs, int width, int height, const Palette& palette)
{
    std::vector<std::array<int64_t, 3>> error(size_t(width * height));
    std::vector<uint8_t> out(size_t(width * height));
    const auto fixed = [](int v) { return int64_t(v * 1052688.0627); };
    for (int y = 0; y < height; ++y) {
        const int dir = (height % 2 == 1) == (y % 2 == 0) ? -1 : 1;
        for (int i = 0; i < width; ++i) {
            const int x = dir < 0 ? width - 1 - i : i;
            const uint32_t c = rgbs[size_t(y * width + x)];
            int64_t v[3] = {fixed(redOf(c)), fixed(greenOf(c)), fixed(blueOf(c))};
            for (int k = 0; k < 3; ++k)
                v[k] = std::clamp<int64_t>(v[k] + error[size_t(y * width + x)][size_t(k)], 0, 0x0FFFFFFF);
            const int cell = int(((v[2] >> 24) << 8) | ((v[1] >> 24) << 4) | (v[0] >> 24));
            const int index = palette.nearestIndex(rgb((cell & 15) * 17, ((cell >> 4) & 15) * 17, (cell >> 8) * 17));
            out[size_t(y * width + x)] = uint8_t(index);
            const uint32_t p = rgbOfWord(palette.entry(index));
            const int64_t pv[3] = {fixed(redOf(p)), fixed(greenOf(p)), fixed(blueOf(p))};
            const auto carry = [&](int cx, int cy, int64_t share, int k, int64_t e) {
                if (cx >= 0 && cx < width && cy < height)
                    error[size_t(cy * width + cx)][size_t(k)] += int32_t(e) * int32_t(share) / 16;
            };
            for (int k = 0; k < 3; ++k) {
                const int64_t e = v[k] - pv[k];
                carry(x + dir, y, 7, k, e);
                carry(x - dir, y + 1, 3, k, e);
                carry(x, y + 1, 5, k, e);
                carry(x + dir, y + 1, 1, k, e);
            }
        }
    }
    return out;
}

} // namespace

TEST(PreviewLevels, NeighboursWrapAndSkip)
{
    using PreviewLevels::neighbours;
    EXPECT_EQ(neighbours(5, 5, 10, false), (std::vector<int>{7, 3, 6, 4}));
    // One frame: nothing, with or without wrapping.
    for (int level = 0; level < PreviewLevels::kCount; ++level) {
        EXPECT_TRUE(neighbours(level, 0, 1, false).empty());
        EXPECT_TRUE(neighbours(level, 0, 1, true).empty());
    }
    EXPECT_TRUE(neighbours(2, 0, 5, false).empty());
    EXPECT_EQ(neighbours(2, 0, 5, true), (std::vector<int>{2, 3, 4}));
    // +2 and -1 both land on frame 2 of three: it is blended once.
    EXPECT_EQ(neighbours(5, 0, 3, true), (std::vector<int>{2, 1}));
    EXPECT_EQ(neighbours(4, 4, 5, false), (std::vector<int>{2, 3}));
    // Loop wraps past the last frame as well.
    EXPECT_EQ(neighbours(3, 4, 5, true), (std::vector<int>{0, 3}));
    EXPECT_EQ(neighbours(5, 4, 5, true), (std::vector<int>{1, 2, 0, 3}));
}

TEST(PreviewCache, BlendAveragesWithThePaperLaterNeighboursWeighingMore)
{
    auto film = makeFilm(3);
    fill(*film, 0, 0, 0);   // black with nothing else
    fill(*film, 1, 10, 11); // two colours
    fill(*film, 2, 0, 0);
    film->makeCurrent(2);
    film->markCurrentModified(); // drawn on, not yet stored
    PreviewCache cache;
    // 32 bits, so the averages can be read back exactly.
    EXPECT_TRUE(cache.buildBlend(*film, {1}, 32));
    const uint32_t paper = rgbOfWord(film->paper());
    const auto mean = [](uint32_t a, uint32_t b) {
        return rgb((redOf(a) + redOf(b)) / 2, (greenOf(a) + greenOf(b)) / 2, (blueOf(a) + blueOf(b)) / 2);
    };
    const Sprite& blend = cache.blend();
    EXPECT_EQ(rgbOfWord(blend.colourWordOf(blend.pixelAt(0, 0))), mean(paper, rgbOfIndex(*film, 10)));
    EXPECT_EQ(rgbOfWord(blend.colourWordOf(blend.pixelAt(1, 1))), mean(paper, rgbOfIndex(*film, 11)));
    EXPECT_EQ(film->currentFrame(), 2) << "the film does not move";
    EXPECT_TRUE(film->currentModified());
    EXPECT_FALSE(cache.buildBlend(*film, {1}, 32));
    // A colour of the palette edited: the neighbours look different now.
    film->palette()->setEntry(10, rgbToColourWord(rgb(1, 2, 3)));
    film->palette()->touch();
    EXPECT_TRUE(cache.buildBlend(*film, {1}, 32));
    EXPECT_EQ(rgbOfWord(blend.colourWordOf(blend.pixelAt(0, 0))), mean(paper, rgb(1, 2, 3)));

    // Two neighbours: the later weighs 1/2, the earlier 1/4, the paper 1/4.
    EXPECT_TRUE(cache.buildBlend(*film, {0, 1}, 32));
    EXPECT_EQ(rgbOfWord(cache.blend().colourWordOf(cache.blend().pixelAt(5, 5))),
              mean(mean(paper, rgbOfIndex(*film, 0)), rgbOfIndex(*film, 10)));
}

TEST(PreviewCache, DitherMatchesAPlainReference)
{
    for (const int height : {7, 8}) {
        const int width = 23;
        auto film = makeFilm(1, width, height);
        std::vector<uint32_t> rgbs;
        for (int i = 0; i < width * height; ++i)
            rgbs.push_back(rgb(i * 37 % 256, i * 11 % 256, 255 - i * 5 % 256));
        Sprite out;
        out.create(width, height, 0, 0, 8, film->palette());
        PreviewCache::dither(rgbs, out, PreviewCache::inverseTable(*film->palette()),
                             PreviewCache::fixedPalette(*film->palette()));
        const auto expected = referenceDither(rgbs, width, height, *film->palette());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(out.pixelAt(x, y), expected[size_t(y * width + x)]) << x << "," << y << " of " << height;
    }
}

TEST(PreviewMode, CompositeShowsNeighboursWherePaperAndFollowsChanges)
{
    auto film = makeFilm(3);
    const int paper = indexOfWord(film->paper());
    fill(*film, 0, 0, 0);
    fill(*film, 1, paper, 4);
    FilmSpeed::setMotion(*film, Film::ToEnd);
    PreviewMode preview;
    preview.setLevels(0, 0);
    const PreviewMode::Switch first = preview.request(PreviewMode::Ghosting);
    EXPECT_TRUE(first.changed);
    EXPECT_EQ(first.explain, 0);

    // Frame 0 has no previous frame: the composite is the frame on plain paper.
    Sprite* frame0 = film->workingImage(0);
    const Sprite& alone = preview.image(*film, 0, *frame0);
    EXPECT_EQ(alone.pixelAt(1, 1), frame0->pixelAt(1, 1));
    EXPECT_EQ(int(alone.pixelAt(8, 4)), 0);

    // Frame 1 is paper but for its dot: frame 0's black shows through as a dither of grey.
    Sprite* frame1 = film->workingImage(1);
    preview.onHint(Hint::FrameChanged, nullptr);
    const Sprite& over = preview.image(*film, 1, *frame1);
    EXPECT_EQ(over.pixelAt(1, 1), 4u);
    EXPECT_NE(int(over.pixelAt(8, 4)), paper);

    // Drawing re-composes only the reported rectangle.
    frame1->setPixelAt(10, 5, 4);
    frame1->setPixelAt(2, 5, 4);
    const ChangeRecord change{{10, 5, 11, 6}, false};
    preview.onHint(Hint::ToolRedrew, &change);
    const Sprite& after = preview.image(*film, 1, *frame1);
    EXPECT_EQ(after.pixelAt(10, 5), 4u);
    EXPECT_NE(after.pixelAt(2, 5), 4u);

    // Asking for the mode that is on turns preview off; a level is explained once.
    EXPECT_TRUE(preview.request(PreviewMode::Ghosting).changed);
    EXPECT_FALSE(preview.on());
    EXPECT_EQ(preview.request(PreviewMode::Ghosting).explain, -1);
    EXPECT_EQ(preview.request(PreviewMode::InBetweening).explain, 3);
}
