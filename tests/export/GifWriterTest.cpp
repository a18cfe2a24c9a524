// Writing films as GIFs: what comes back through our reader and through giflib, the size of
// what we write, and the batch tool's convert command.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/Errors.h"
#include "export/GifTestSupport.h"
#include "export/GifWriter.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Colour.h"

using namespace celvane;

namespace {

// A drawn film: a still striped background, a filled box sliding across and a line sweeping
// down, in palette colours (or RGB values for deep films).
void drawFilm(Film& film, int frames, bool manyColours = false)
{
    for (int f = 1; f < frames; ++f)
        film.insertFrame(f, false);
    const int w = film.width(), h = film.height();
    std::map<uint32_t, uint32_t> pixelOf;
    for (int f = 0; f < frames; ++f) {
        Sprite& s = *film.workingImage(f);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t rgbValue = (y / 8) % 2 ? rgb(250, 240, 200) : rgb(200, 230, 250);
                if (manyColours)
                    rgbValue = rgb(x * 255 / w, y * 255 / h, (x + y) % 256);
                if (x >= 5 + 3 * f && x < 25 + 3 * f && y >= 10 && y < 30)
                    rgbValue = rgb(220, 30, 30);
                if (y == 2 * f + 1 && x > 2 && x < w - 3)
                    rgbValue = rgb(10, 10, 120);
                auto known = pixelOf.find(rgbValue);
                if (known == pixelOf.end())
                    known = pixelOf.emplace(rgbValue, s.pixelValueForRgb(rgbValue)).first;
                s.setPixelAt(x, y, known->second);
            }
        film.markCurrentModified();
    }
}

std::unique_ptr<CCelvaneDoc> newFilm(int w, int h, int depth, int frames, bool manyColours = false)
{
    auto doc = std::make_unique<CCelvaneDoc>();
    doc->newDocument(ImageInfo::forFilm(w, h, depth));
    drawFilm(*doc->film(), frames, manyColours);
    return doc;
}

uint32_t colourAt(Film& film, int frame, int x, int y)
{
    const Sprite& s = *film.workingImage(frame);
    return rgbOfWord(s.colourWordOf(s.pixelAt(x, y))) & 0xFFFFFF;
}

// A whole frame's RGB values, rows top down, as giflibDecode gives them.
std::vector<uint32_t> coloursOf(Film& film, int frame)
{
    std::vector<uint32_t> c;
    for (int y = 0; y < film.height(); ++y)
        for (int x = 0; x < film.width(); ++x)
            c.push_back(colourAt(film, frame, x, y));
    return c;
}

void setMotionAndPeriod(Film& film, int motion, int period)
{
    GraphicSummary s;
    film.getSummary(s);
    s.motion = motion;
    s.period = period;
    film.setSummary(s);
}

// The image descriptors of a GIF we wrote (no local tables there), in order.
struct Descriptor {
    int left, top, width, height;
};
std::vector<Descriptor> descriptors(const Bytes& gif)
{
    std::vector<Descriptor> found;
    size_t at = 13 + 3 * (size_t(2) << (gif[10] & 7));
    while (at < gif.size() && gif[at] != ';') {
        if (gif[at] == '!') {
            at += 2;
        } else {
            found.push_back({loadLE16(&gif[at + 1]), loadLE16(&gif[at + 3]), loadLE16(&gif[at + 5]), loadLE16(&gif[at + 7])});
            at += 11;
        }
        while (gif[at])
            at += gif[at] + 1u;
        ++at;
    }
    return found;
}

} // namespace

TEST(GifWriter, PaletteFilmsComeBackPixelForPixel)
{
    test::TempDir dir;
    for (int depth : {8, 4, 1}) {
        auto doc = newFilm(64, 40, depth, 6);
        Film& film = *doc->film();
        setMotionAndPeriod(film, Film::Loop, 60);
        film.setFade(3, FrameFade{0, -1, 25}, FrameFade::PauseField);
        const Bytes gif = writeGif(film);

        const test::GiflibAnimation judge = test::giflibDecode(gif);
        ASSERT_TRUE(judge.ok) << depth;
        ASSERT_EQ(judge.frames.size(), 6u);
        EXPECT_TRUE(judge.loops);
        EXPECT_EQ(judge.delays[0], 6);
        EXPECT_EQ(judge.delays[3], 31);

        test::writeBytes(dir.file("walk.gif"), gif);
        CCelvaneDoc back;
        back.open(dir.file("walk.gif"));
        Film& again = *back.film();
        ASSERT_EQ(again.frameCount(), 6);
        EXPECT_EQ(again.period(), 60);
        EXPECT_EQ(again.motion(), Film::Loop);
        EXPECT_EQ(again.fade(3).pause, 25);
        for (int f = 0; f < 6; ++f) {
            const std::vector<uint32_t> want = coloursOf(film, f);
            EXPECT_EQ(judge.frames[size_t(f)], want) << depth << " frame " << f;
            EXPECT_EQ(coloursOf(again, f), want) << depth << " frame " << f;
        }
    }
}

TEST(GifWriter, StoresOnlyWhatChangedAndFollowsTheMotion)
{
    auto doc = newFilm(80, 60, 8, 4);
    Film& film = *doc->film();
    setMotionAndPeriod(film, Film::ToEnd, 100);
    const Bytes once = writeGif(film);
    EXPECT_EQ(std::string(once.begin(), once.begin() + 6), "GIF89a");
    EXPECT_FALSE(test::giflibDecode(once).loops);
    const std::vector<Descriptor> d = descriptors(once);
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].width, 80);
    // Frame 1: the box moved 3 pixels right (x 5..27) and the line from row 1 to row 3.
    EXPECT_EQ(d[1].left, 3);
    EXPECT_EQ(d[1].top, 1);
    EXPECT_EQ(d[1].width, 74);
    EXPECT_EQ(d[1].height, 29);

    // Yo-yo: forwards, back, and round again.
    setMotionAndPeriod(film, Film::YoYo, 100);
    const test::GiflibAnimation yoyo = test::giflibDecode(writeGif(film));
    ASSERT_EQ(yoyo.frames.size(), 6u);
    EXPECT_TRUE(yoyo.loops);
    EXPECT_EQ(yoyo.frames[4], yoyo.frames[2]);
    EXPECT_EQ(yoyo.frames[5], yoyo.frames[1]);

    // A selection, and a frame identical to the one before.
    film.makeCurrent(1);
    film.insertFrame(2, true);
    setMotionAndPeriod(film, Film::Loop, 100);
    GifExportOptions some;
    some.frames = {1, 2};
    const test::GiflibAnimation two = test::giflibDecode(writeGif(film, some));
    ASSERT_EQ(two.frames.size(), 2u);
    EXPECT_EQ(two.frames[0], two.frames[1]);

    some.frames = {4, 5};
    EXPECT_THROW(writeGif(film, some), NotSupportedError);
    GifExportOptions cancelled;
    cancelled.progress = [](int done, int) { return done < 2; };
    EXPECT_THROW(writeGif(film, cancelled), UserCancel);
}

TEST(GifWriter, DeepFilmsGetOnePaletteAndStillAreasStayStill)
{
    // Few colours: kept exactly.
    auto few = newFilm(48, 32, 32, 3);
    const test::GiflibAnimation exact = test::giflibDecode(writeGif(*few->film()));
    ASSERT_EQ(exact.frames.size(), 3u);
    for (int f = 0; f < 3; ++f)
        EXPECT_EQ(exact.frames[size_t(f)], coloursOf(*few->film(), f)) << f;

    // Thousands of colours: close on average, and pixels that did not change stay as they were.
    for (int depth : {32, 16}) {
        auto many = newFilm(96, 64, depth, 4, true);
        Film& film = *many->film();
        const test::GiflibAnimation judged = test::giflibDecode(writeGif(film));
        ASSERT_EQ(judged.frames.size(), 4u);
        std::vector<std::vector<uint32_t>> source;
        for (int f = 0; f < 4; ++f)
            source.push_back(coloursOf(film, f));
        double error = 0;
        for (size_t i = 0; i < source[0].size(); ++i)
            for (int shift : {0, 8, 16})
                error += std::abs(int((source[0][i] >> shift) & 0xFF) - int((judged.frames[0][i] >> shift) & 0xFF));
        EXPECT_LT(error / double(source[0].size() * 3), 6.0) << depth;
        for (size_t f = 1; f < 4; ++f)
            for (size_t i = 0; i < source[f].size(); ++i)
                if (source[f][i] == source[f - 1][i]) {
                    ASSERT_EQ(judged.frames[f][i], judged.frames[f - 1][i]) << depth << " frame " << f << " pixel " << i;
                }
    }
}

using test::ToolRun;
const auto tool = test::runTool;

TEST(GifWriter, ToolConvertsBothWaysAndRefusesUnknownKinds)
{
    test::TempDir dir;
    auto doc = newFilm(40, 30, 8, 5);
    doc->save(dir.file("a.qfm"));
    ASSERT_EQ(tool("convert " + dir.file("a.qfm") + " " + dir.file("a.gif") + " --selection 1-3").status, 0);
    EXPECT_EQ(test::giflibDecode(readFile(dir.file("a.gif"))).frames.size(), 3u);
    const ToolRun back = tool("convert " + dir.file("a.gif") + " " + dir.file("b.qfm"));
    ASSERT_EQ(back.status, 0) << back.out;
    CCelvaneDoc b;
    b.open(dir.file("b.qfm"));
    EXPECT_EQ(b.film()->frameCount(), 3);
    EXPECT_EQ(colourAt(*b.film(), 0, 12, 15), colourAt(*doc->film(), 1, 12, 15));

    const ToolRun refused = tool("convert " + dir.file("a.qfm") + " " + dir.file("a.doc"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("Sorry, you can't export a film in this format."), std::string::npos) << refused.out;
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.doc")));
    EXPECT_EQ(tool("convert " + dir.file("a.qfm") + " " + dir.file("c.gif") + " --selection 3-9").status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.gif")));
}
