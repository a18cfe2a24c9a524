// Reading GIFs into the animation store and into films.

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <tuple>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/CommandIds.h"
#include "base/StringTable.h"
#include "import/GifGraphic.h"
#include "import/GifReader.h"
#include "export/GifTestSupport.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "view/CCelvaneView.h"

using namespace celvane;
using celvane::test::GifBuilder;

namespace {

struct Unpacked {
    Bytes pixels;
    Bytes mask;
    uint32_t colour(const Animation& a, const AnimationFrame& f, int x, int y) const
    {
        return (*f.palette)[pixels[size_t(y) * size_t(a.width()) + size_t(x)]] >> 8;
    }
    bool opaque(const Animation& a, int x, int y) const { return mask[size_t(y) * size_t(a.width()) + size_t(x)] != 0; }
};

Unpacked unpack(const Animation& a, int frame)
{
    Unpacked u{Bytes(size_t(a.width()) * size_t(a.height())), Bytes(size_t(a.width()) * size_t(a.height()))};
    a.unpack(frame, u.pixels.data(), u.mask.data());
    return u;
}

std::vector<uint32_t> greys(int n, int step = 1)
{
    std::vector<uint32_t> t;
    for (int i = 0; i < n; ++i)
        t.push_back(uint32_t(i * step) * 0x010101u);
    return t;
}

// Nearest of a fixed palette: enough to take frames of many colours.
class GreyReducer : public ColourReducer {
public:
    int indexOf(uint32_t word) override { return int((word >> 8) & 0xFF); }
    const GifColours& palette() const override { return palette_; }

private:
    GifColours palette_ = [] {
        GifColours p;
        for (uint32_t i = 0; i < 256; ++i)
            p.push_back(i * 0x01010100u);
        return p;
    }();
};

// A row of 256 reds, a row of 256 blues (more colours than a palette), then single dots, each an
// image of its own, on a square canvas.
Bytes colourfulGif(int side, int frames)
{
    std::vector<uint8_t> row(256);
    std::iota(row.begin(), row.end(), 0);
    std::vector<uint32_t> reds, blues; // table entries are 0xBBGGRR
    for (uint32_t i = 0; i < 256; ++i) {
        reds.push_back(i);
        blues.push_back(i << 16);
    }
    GifBuilder b(side, side);
    b.control(1).image(0, 0, 256, 1, row, reds).control(1).image(0, 1, 256, 1, row, blues);
    for (int i = 2; i < frames; ++i)
        b.control(1).image(i, 2, 1, 1, {255}, reds);
    return b.finish();
}

} // namespace

TEST(GifReader, CanvasCoversEveryImageAndInterlacedRowsLandInPlace)
{
    const std::vector<uint32_t> table = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    std::vector<uint8_t> rows(3 * 10);
    // Interlaced order: rows 0, 8, 4, 2, 6, 1, 3, 5, 7, 9 of a 3 x 10 picture.
    const int order[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int i = 0; i < 10; ++i)
        for (int x = 0; x < 3; ++x)
            rows[size_t(i * 3 + x)] = uint8_t(order[i] % 4);
    const Bytes file = GifBuilder(4, 4, table).image(0, 0, 2, 2, {0, 1, 2, 3}).image(5, 1, 3, 10, rows, {}, true).finish();
    const Animation a = readGif(file);
    EXPECT_EQ(a.width(), 8);
    EXPECT_EQ(a.height(), 11);
    ASSERT_EQ(a.frameCount(), 2);
    const Unpacked second = unpack(a, 1);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(second.colour(a, a.frame(1), 6, 1 + y), table[size_t(y % 4)]) << y;
    EXPECT_EQ(second.colour(a, a.frame(1), 1, 1), 0xFFFFFFu) << "the first image stays";
    EXPECT_FALSE(second.opaque(a, 7, 0)) << "never drawn";
    EXPECT_FALSE(a.loops());
}

TEST(GifReader, ColoursBeyondOnePaletteNeedAReducer)
{
    std::vector<uint8_t> all(200);
    std::iota(all.begin(), all.end(), 0);
    const std::vector<uint32_t> low = greys(200), high = greys(200);
    std::vector<uint32_t> shifted;
    for (int i = 0; i < 200; ++i)
        shifted.push_back(uint32_t(i) * 0x010101u + 0x000037u); // colours of no grey
    const Bytes file = GifBuilder(200, 2).image(0, 0, 200, 1, all, low).image(0, 1, 200, 1, all, shifted).finish();
    try {
        readGif(file);
        FAIL() << "read 400 colours without a reducer";
    } catch (const NotSupportedError& e) {
        EXPECT_STREQ(e.what(), "Please choose a palette-reduction option when using images with more than 256 colours");
    }
    GreyReducer reducer;
    const Animation a = readGif(file, &reducer);
    ASSERT_EQ(a.frameCount(), 2);
    const Unpacked u = unpack(a, 1);
    EXPECT_EQ(u.colour(a, a.frame(1), 10, 0), 0x0A0A0Au) << "the first row kept its colours";
    EXPECT_EQ(u.colour(a, a.frame(1), 10, 1), 0x414141u) << "0x0A0A41 reduced by its red";

    // Read for a film, one palette is chosen for both rows: each keeps close to its colours.
    Animation film = readGifReducing(file);
    film.makeCommonPalette();
    ASSERT_EQ(film.frameCount(), 2);
    EXPECT_EQ(film.frame(0).palette, film.frame(1).palette);
    EXPECT_LE(film.frame(1).palette->size(), 256u);
    const Unpacked r = unpack(film, 1);
    for (int x = 0; x < 200; x += 7)
        for (int y = 0; y < 2; ++y) {
            const uint32_t want = y == 0 ? low[size_t(x)] : shifted[size_t(x)];
            const uint32_t got = r.colour(film, film.frame(1), x, y);
            for (int shift = 0; shift < 24; shift += 8)
                EXPECT_NEAR(int((got >> shift) & 0xFF), int((want >> shift) & 0xFF), 12) << x << "," << y;
        }

    // The same 200 colours a second time fit beside themselves: the canvas stays 8-bit.
    const Bytes same = GifBuilder(200, 2).image(0, 0, 200, 1, all, low).image(0, 1, 200, 1, all, high).finish();
    EXPECT_EQ(readGif(same).frameCount(), 2);
}

TEST(GifReader, DisposalTransparencyAndDelays)
{
    const std::vector<uint32_t> table = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00};
    // Frame 1 draws a red square with index 1 transparent and asks to be disposed; frame 2
    // draws one green pixel elsewhere.
    const Bytes file = GifBuilder(4, 4, table, 3)
                           .control(5)
                           .image(0, 0, 4, 4, std::vector<uint8_t>(16, 1))
                           .control(7, 1, 2)
                           .image(1, 1, 2, 2, {2, 1, 2, 2})
                           .control(9)
                           .image(3, 3, 1, 1, {3})
                           .finish();
    const Animation a = readGif(file);
    ASSERT_EQ(a.frameCount(), 3);
    EXPECT_EQ(a.frame(0).delay, 5);
    EXPECT_EQ(a.frame(1).delay, 7);
    EXPECT_EQ(a.frame(2).delay, 9);
    const Unpacked second = unpack(a, 1);
    EXPECT_EQ(second.colour(a, a.frame(1), 1, 1), 0x0000FFu);
    EXPECT_EQ(second.colour(a, a.frame(1), 2, 1), 0xFFFFFFu) << "seen through the transparent pixel";
    const Unpacked third = unpack(a, 2);
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 3; ++x)
            EXPECT_FALSE(third.opaque(a, x, y)) << "disposed after an image with a transparent index";
    EXPECT_TRUE(third.opaque(a, 0, 0));
    EXPECT_EQ(third.colour(a, a.frame(2), 3, 3), 0x00FF00u);

    // Without a transparent index the rectangle returns to the background colour, opaque.
    const Bytes opaque = GifBuilder(2, 1, table, 3).control(1, -1, 2).image(0, 0, 1, 1, {2}).image(1, 0, 1, 1, {0}).finish();
    const Animation b = readGif(opaque);
    const Unpacked last = unpack(b, 1);
    EXPECT_TRUE(last.opaque(b, 0, 0));
    EXPECT_EQ(last.colour(b, b.frame(1), 0, 0), 0x00FF00u);
    EXPECT_EQ(b.frame(1).delay, 8) << "no control extension of its own";
}

TEST(GifReader, CommonPaletteSharesOneNodeWithAFreeEntry)
{
    std::vector<uint8_t> ten(10);
    std::iota(ten.begin(), ten.end(), 0);
    const std::vector<uint32_t> colours = greys(10, 20);
    std::vector<uint32_t> reversed(colours.rbegin(), colours.rend());
    Animation a = readGif(GifBuilder(10, 1).image(0, 0, 10, 1, ten, colours).image(0, 0, 10, 1, ten, reversed).finish());
    a.makeCommonPalette();
    ASSERT_EQ(a.frameCount(), 2);
    EXPECT_EQ(a.frame(0).palette, a.frame(1).palette);
    ASSERT_EQ(a.frame(0).palette->size(), 11u);
    EXPECT_EQ(a.frame(0).palette->back(), 0u);
    EXPECT_EQ(a.transparentIndex(), 10);
    const Unpacked first = unpack(a, 0), second = unpack(a, 1);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(first.colour(a, a.frame(0), x, 0), colours[size_t(x)]);
        EXPECT_EQ(second.colour(a, a.frame(1), x, 0), reversed[size_t(x)]);
    }
}

TEST(GifReader, RefusesWhatIsNoGifOrDamaged)
{
    EXPECT_THROW(readGif(Bytes{'P', 'N', 'G'}), ArchiveError);
    EXPECT_THROW(readGif(Bytes{'G', 'I', 'F', '8', '9', 'a', 1}), ArchiveError);
    Bytes file = GifBuilder(4, 1, greys(4)).image(0, 0, 4, 1, {0, 1, 2, 3}).finish();
    EXPECT_EQ(readGif(file).frameCount(), 1);
    // Cut anywhere: either a picture or a clear refusal, never more.
    for (size_t n = 0; n < file.size(); ++n) {
        const Bytes cut(file.begin(), file.begin() + std::ptrdiff_t(n));
        try {
            EXPECT_LE(readGif(cut).frameCount(), 1);
        } catch (const Error&) {
        }
    }
}

TEST(GifReader, ImagesOfNoWidthChangeNothingWhereverTheyStand)
{
    // The second image, of no width, is to be cleared after it; the third, also of no width,
    // then changes a rectangle that spans rows but no columns (once read through a null row).
    const std::vector<uint32_t> table = {0x000000, 0xFFFFFF};
    const Bytes file = GifBuilder(2, 2, table)
                           .control(1)
                           .image(0, 0, 2, 2, {1, 0, 0, 1})
                           .control(1, -1, 2)
                           .image(1, 0, 0, 2, {})
                           .control(1)
                           .image(1, 0, 0, 2, {})
                           .finish();
    const Animation a = readGifReducing(file);
    ASSERT_EQ(a.frameCount(), 3);
    for (int f = 0; f < 3; ++f) {
        const Unpacked u = unpack(a, f);
        EXPECT_EQ(u.colour(a, a.frame(f), 0, 0), 0xFFFFFFu) << f;
        EXPECT_EQ(u.colour(a, a.frame(f), 1, 0), 0x000000u) << f;
    }

    // Opened in the program: three frames alike, and nothing to tell.
    celvane::test::StartedProgram p;
    const std::string path = p.dir.file("empty-images.gif");
    celvane::test::writeBytes(path, file);
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_TRUE(p.sink.shown.empty()) << p.sink.shown.front();
    Film& film = *p.view().film();
    ASSERT_EQ(film.frameCount(), 3);
    for (int f = 0; f < 3; ++f) {
        const Sprite& frame = *film.workingImage(f);
        EXPECT_EQ(rgbOfWord(frame.colourWordOf(frame.pixelAt(0, 0))), 0xFFFFFFu) << f;
        EXPECT_EQ(rgbOfWord(frame.colourWordOf(frame.pixelAt(1, 1))), 0xFFFFFFu) << f;
        EXPECT_EQ(rgbOfWord(frame.colourWordOf(frame.pixelAt(0, 1))), 0x000000u) << f;
    }
}

TEST(GifReader, TinyFilesAskingForHugeCanvasesOrCountlessFramesAreRefusedAtOnce)
{
    celvane::test::TempDir dir;
    const std::vector<uint32_t> table = {0x000000, 0xFFFFFF};
    auto dots = [&](int width, int height, int images) {
        GifBuilder b(width, height, table);
        for (int i = 0; i < images; ++i)
            b.control(1).image(i % width, 0, 1, 1, {1});
        return b.finish();
    };
    // A 16384 x 16384 screen with one, five and forty single-pixel images: once gigabytes.
    for (int images : {1, 5, 40}) {
        const std::string path = dir.file("dots" + std::to_string(images) + ".gif");
        celvane::test::writeBytes(path, dots(16384, 16384, images));
        CCelvaneDoc doc;
        try {
            doc.open(path);
            FAIL() << "opened a 16384 x 16384 canvas";
        } catch (const Error& e) {
            EXPECT_EQ(e.userMessage(), loadString(IDS_CANNOT_LOAD_TYPE)) << e.what();
        }
    }
    // Small frames, but so many that together they are more than any animation.
    EXPECT_THROW(readGif(dots(1000, 1000, 1100)), NotSupportedError);

    // Two rows of 256 colours each make the canvas deeper than a palette: every frame is then
    // reduced, and 17 frames of 4096 x 4096 are too many for that (a 3 KB file that once took
    // seconds to open). Three frames of a smaller canvas are reduced, each keeping close to its
    // colours.
    try {
        readGifReducing(colourfulGif(4096, 17));
        FAIL() << "reduced 17 frames of 4096 x 4096";
    } catch (const NotSupportedError& e) {
        EXPECT_NE(std::string(e.what()).find("too many colours in too many frames"), std::string::npos) << e.what();
    }
    Animation reduced = readGifReducing(colourfulGif(300, 3));
    ASSERT_EQ(reduced.frameCount(), 3);
    const Unpacked last = unpack(reduced, 2);
    for (const auto& [x, y, want] : {std::tuple{255, 0, 0x0000FFu}, {255, 1, 0xFF0000u}, {2, 2, 0x0000FFu}}) {
        const uint32_t got = last.colour(reduced, reduced.frame(2), x, y);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(int((got >> shift) & 0xFF), int((want >> shift) & 0xFF), 12) << x << "," << y;
    }

    // A big canvas of single-pixel images within the budget opens, each dot where it belongs.
    const std::string within = dir.file("within.gif");
    celvane::test::writeBytes(within, dots(2000, 1000, 3));
    CCelvaneDoc doc;
    doc.open(within);
    Film& film = *doc.film();
    ASSERT_EQ(film.frameCount(), 3);
    EXPECT_EQ(film.width(), 2000);
    for (int f = 0; f < 3; ++f) {
        const Sprite& frame = *film.workingImage(f);
        EXPECT_EQ(rgbOfWord(frame.colourWordOf(frame.pixelAt(f, 0))), 0xFFFFFFu) << f;
        EXPECT_NE(rgbOfWord(frame.colourWordOf(frame.pixelAt(1999, 999))), 0xFFFFFFu) << f;
    }
}

TEST(GifReader, ADamagedOrCutLastImageKeepsEveryFrameBeforeItAndSaysSo)
{
    celvane::test::TempDir dir;
    const std::vector<uint32_t> table = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00};
    const std::vector<uint8_t> picture(64, 2);
    const Bytes whole = GifBuilder(8, 8, table).image(0, 0, 8, 8, picture).image(0, 0, 8, 8, picture).finish();
    celvane::test::RecordingSink sink;
    auto open = [&](const Bytes& file) {
        celvane::test::writeBytes(dir.file("a.gif"), file);
        sink.shown.clear();
        CCelvaneDoc doc;
        testing::internal::CaptureStdout();
        doc.open(dir.file("a.gif"));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "warnings never go to standard output";
        return doc.film()->frameCount();
    };
    EXPECT_EQ(open(whole), 2);
    EXPECT_TRUE(sink.shown.empty());

    // Cut inside the last image: both frames, the second as far as it goes, and a warning.
    EXPECT_EQ(open(Bytes(whole.begin(), whole.end() - 4)), 2);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].find("damaged"), std::string::npos) << sink.shown[0];

    // Codes past the table in the last image: the first frame, and a warning.
    Bytes damaged = GifBuilder(8, 8, table).image(0, 0, 8, 8, picture).finish();
    damaged.pop_back();
    const Bytes bad = {',', 0, 0, 0, 0, 8, 0, 8, 0, 0, 2, 2, 0xFF, 0xFF, 0, ';'};
    damaged.insert(damaged.end(), bad.begin(), bad.end());
    EXPECT_EQ(open(damaged), 1);
    EXPECT_EQ(sink.shown.size(), 1u);

    // Codes that stop without their end code inside sound framing are no damage at all.
    Bytes noEnd = GifBuilder(1, 1, table).finish();
    noEnd.pop_back();
    const Bytes image = {',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 1, 0x0C, 0, ';'}; // clear, 1 and no end code
    noEnd.insert(noEnd.end(), image.begin(), image.end());
    EXPECT_EQ(open(noEnd), 1);
    EXPECT_TRUE(sink.shown.empty());
}

TEST(GifReader, OpensAsAFilmWithPeriodPausesAndMotion)
{
    celvane::test::TempDir dir;
    const std::vector<uint32_t> table = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00};
    const Bytes file = GifBuilder(3, 2, table)
                           .loop()
                           .control(4)
                           .image(0, 0, 3, 2, {0, 1, 2, 3, 0, 1})
                           .control(10)
                           .image(1, 0, 1, 1, {3})
                           .finish();
    celvane::test::writeBytes(dir.file("walk.gif"), file);
    CCelvaneDoc doc;
    doc.open(dir.file("walk.gif"));
    Film& film = *doc.film();
    EXPECT_EQ(doc.pathName(), dir.file("walk.qfm"));
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(film.frameCount(), 2);
    EXPECT_EQ(film.width(), 3);
    EXPECT_EQ(film.height(), 2);
    EXPECT_EQ(film.bitsPerPixel(), 8);
    EXPECT_EQ(film.period(), 40);
    EXPECT_EQ(film.motion(), Film::Loop);
    EXPECT_EQ(film.fade(0).pause, 0);
    EXPECT_EQ(film.fade(1).pause, 6);
    const Sprite& second = *film.workingImage(1);
    EXPECT_EQ(rgbOfWord(second.colourWordOf(second.pixelAt(1, 0))), 0x00FF00u);
    EXPECT_EQ(rgbOfWord(second.colourWordOf(second.pixelAt(2, 0))), 0x0000FFu);

    // No loop extension: played to the end.
    celvane::test::writeBytes(dir.file("once.gif"), GifBuilder(1, 1, table).image(0, 0, 1, 1, {1}).image(0, 0, 1, 1, {2}).finish());
    CCelvaneDoc once;
    once.open(dir.file("once.gif"));
    EXPECT_EQ(once.film()->motion(), Film::ToEnd);
    EXPECT_EQ(once.film()->period(), 80);
}

TEST(GifReader, EveryCorpusFileOpensOrIsRefused)
{
    const auto folder = celvane::test::corpusDir("gif");
    CELVANE_REQUIRE_CORPUS(folder);
    int opened = 0, refused = 0;
    for (const auto& [name, path] : celvane::test::corpusFiles(folder)) {
        CCelvaneDoc doc;
        try {
            doc.open(path.string());
            ASSERT_NE(doc.film(), nullptr) << path;
            EXPECT_GE(doc.film()->frameCount(), 1);
            ++opened;
        } catch (const Error& e) {
            EXPECT_FALSE(e.userMessage().empty()) << path;
            ++refused;
        }
    }
    EXPECT_GT(opened, 40);
    CCelvaneDoc many;
    many.open((std::filesystem::path(folder) / "ancell" / "high-color.gif").string());
    EXPECT_EQ(many.film()->bitsPerPixel(), 8) << "frames of more than 256 colours together";
    std::printf("GIF corpus: %d opened, %d refused\n", opened, refused);
}

TEST(GifReader, OpeningATinyHugeGifInTheProgramSaysSoAndADamagedOneOpensWithAWarning)
{
    celvane::test::StartedProgram p;
    CCelvaneView& before = p.view();
    const std::vector<uint32_t> table = {0x000000, 0xFFFFFF};
    const std::string huge = p.dir.file("huge.gif");
    celvane::test::writeBytes(huge, GifBuilder(16384, 16384, table).control(1).image(0, 0, 1, 1, {1}).finish());
    p.chooser.paths.push_back(huge);
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.sink.shown.size(), 1u);
    EXPECT_EQ(p.sink.shown[0].rfind(loadString(IDS_CANNOT_LOAD_TYPE), 0), 0u) << p.sink.shown[0];
    EXPECT_EQ(&p.view(), &before) << "the film that was open stays";
    // So is a small file whose frames would all need their colours reduced on a big canvas.
    const std::string colourful = p.dir.file("colourful.gif");
    celvane::test::writeBytes(colourful, colourfulGif(4096, 17));
    p.chooser.paths.push_back(colourful);
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.sink.shown.size(), 2u);
    EXPECT_EQ(p.sink.shown[1].rfind(loadString(IDS_CANNOT_LOAD_TYPE), 0), 0u) << p.sink.shown[1];
    EXPECT_EQ(&p.view(), &before);

    // Two pictures, the second cut short: both frames, and the warning once.
    const std::vector<uint8_t> picture(16, 1);
    const Bytes whole = GifBuilder(4, 4, table).image(0, 0, 4, 4, picture).image(0, 0, 4, 4, picture).finish();
    const std::string cut = p.dir.file("cut.gif");
    celvane::test::writeBytes(cut, Bytes(whole.begin(), whole.end() - 3));
    p.chooser.paths.push_back(cut);
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.sink.shown.size(), 3u);
    EXPECT_NE(p.sink.shown[2].find("damaged"), std::string::npos);
    EXPECT_EQ(p.view().film()->frameCount(), 2);
    EXPECT_EQ(p.frame().windowTitle().toStdString(), "cut.qfm * - Celvane");
}

TEST(GifReader, FramesKeepOnlyWhatChangedAndUnpackAlikeInAnyOrder)
{
    std::vector<uint8_t> background(size_t(300) * 200);
    for (size_t i = 0; i < background.size(); ++i)
        background[i] = uint8_t((i * 7 + i / 300) % 16);
    GifBuilder b(300, 200, greys(16, 16));
    b.image(0, 0, 300, 200, background);
    for (int i = 0; i < 30; ++i)
        b.control(2, i % 3 == 0 ? 5 : -1, i % 4 == 1 ? 2 : 0).image(7 * i, 5 * i % 190, 2, 3, {1, 5, 9, 5, 13, 15});
    const Bytes file = b.finish();
    Animation a = readGif(file);
    a.makeCommonPalette();
    ASSERT_EQ(a.frameCount(), 31);
    EXPECT_EQ(a.frame(0).rect.area(), size_t(300) * 200);
    EXPECT_LT(a.frame(3).rect.area(), 200u) << "a small image costs its own area (and the one it disposes of)";

    const size_t n = size_t(300) * 200;
    std::vector<Unpacked> fresh;
    for (int f = 0; f < a.frameCount(); ++f)
        fresh.push_back(unpack(a, f));
    // Following on from the frame before gives the same frame, and says what changed.
    Bytes pixels(n), mask(n);
    for (int f = 0; f < a.frameCount(); ++f) {
        const Rect changed = a.unpackStored(f, pixels.data(), mask.data(), f - 1);
        EXPECT_EQ(mask, fresh[size_t(f)].mask) << f;
        for (size_t i = 0; i < n; ++i)
            ASSERT_EQ(a.frame(f).map ? (*a.frame(f).map)[pixels[i]] : pixels[i], fresh[size_t(f)].pixels[i]) << f;
        if (f > 0) {
            EXPECT_LT(changed.area(), 200u) << f;
        }
    }
    // A film made from the file shows every opaque pixel in its colour, each frame painted
    // over the one before.
    celvane::test::TempDir dir;
    celvane::test::writeBytes(dir.file("dots.gif"), file);
    CCelvaneDoc doc;
    doc.open(dir.file("dots.gif"));
    ASSERT_EQ(doc.film()->frameCount(), 31);
    for (int f = 0; f < 31; ++f) {
        const Sprite& shown = *doc.film()->workingImage(f);
        int wrong = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                wrong += fresh[size_t(f)].opaque(a, x, y)
                    && rgbOfWord(shown.colourWordOf(shown.pixelAt(x, y))) != fresh[size_t(f)].colour(a, a.frame(f), x, y);
        EXPECT_EQ(wrong, 0) << f;
    }

    // Frames taken out: those after them still unpack as they did.
    a.eraseFrames(3, 5);
    ASSERT_EQ(a.frameCount(), 28);
    for (int f : {27, 3, 2, 10}) {
        const Unpacked now = unpack(a, f);
        const Unpacked& then = fresh[size_t(f < 3 ? f : f + 3)];
        EXPECT_EQ(now.mask, then.mask) << f;
        EXPECT_EQ(now.pixels, then.pixels) << f;
    }
}
