// RISC OS Drawfiles: paths built here draw with their fills, caps and dashes; font names map
// onto the fonts this system has; the files of other programs draw or are refused in the
// program's words; a Drawfile opens in the program as a film.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "QtTestSupport.h"
#include "app/CStampPicker.h"
#include "app/DrawingProgram.h"
#include "app/FilmImport.h"
#include "app/picker/CPickerWindow.h"
#include "TestSupport.h"
#include "base/CommandIds.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "gfx/Colour.h"
#include "import/DrawFonts.h"
#include "import/DrawfileGraphic.h"
#include "platform/SpriteImage.h"
#include "view/CCelvaneView.h"

using namespace celvane;
namespace fs = std::filesystem;

namespace {

constexpr int kPixel = 512; // Draw units
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr uint32_t kRed = 0x0000FF00, kBlack = 0;

uint32_t rgbAt(const Sprite& s, int x, int y) { return rgbOfWord(s.colourWordOf(s.pixelAt(x, y))); }

// Drawfile objects built by hand, in pixels (y upwards, as Draw has it).
class DrawBuilder {
public:
    struct Element {
        int tag;
        std::vector<int> xy; // pixels
    };

    DrawBuilder& path(uint32_t fill, uint32_t outline, int widthPixels, uint32_t style,
        const std::vector<Element>& elements, const std::vector<int>& dashes = {})
    {
        Bytes body;
        ByteWriter w(&body);
        int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
        for (const Element& e : elements)
            for (size_t i = 0; i + 1 < e.xy.size(); i += 2) {
                x0 = std::min(x0, e.xy[i] * kPixel), x1 = std::max(x1, e.xy[i] * kPixel);
                y0 = std::min(y0, e.xy[i + 1] * kPixel), y1 = std::max(y1, e.xy[i + 1] * kPixel);
            }
        for (int v : {x0, y0, x1, y1})
            w.u32(uint32_t(v));
        w.u32(fill);
        w.u32(outline);
        w.u32(uint32_t(widthPixels * kPixel));
        w.u32(style | (dashes.empty() ? 0 : 0x80));
        if (!dashes.empty()) {
            w.u32(0);
            w.u32(uint32_t(dashes.size()));
            for (int d : dashes)
                w.u32(uint32_t(d * kPixel));
        }
        for (const Element& e : elements) {
            w.u32(uint32_t(e.tag));
            for (int v : e.xy)
                w.u32(uint32_t(v * kPixel));
        }
        w.u32(0);
        add(2, body);
        return *this;
    }
    DrawBuilder& fonts(const std::vector<std::string>& names)
    {
        Bytes body;
        for (size_t i = 0; i < names.size(); ++i) {
            body.push_back(uint8_t(i + 1));
            body.insert(body.end(), names[i].begin(), names[i].end());
            body.push_back(0);
        }
        add(0, body);
        return *this;
    }
    Bytes file() const
    {
        Bytes out;
        ByteWriter w(&out);
        w.bytes("Draw", 4);
        w.u32(201);
        w.u32(0);
        w.bytes("Celvane     ", 12);
        w.zeros(16);
        w.bytes(objects_);
        return out;
    }

    // An object as it stands, header box and all.
    void add(uint32_t type, Bytes body)
    {
        while (body.size() % 4)
            body.push_back(0);
        ByteWriter w(&objects_);
        w.u32(type);
        w.u32(uint32_t(8 + body.size()));
        w.bytes(body);
    }

private:
    Bytes objects_;
};

std::vector<DrawBuilder::Element> square(int x, int y, int side)
{
    return {{2, {x, y}}, {8, {x + side, y}}, {8, {x + side, y + side}}, {8, {x, y + side}}, {5, {}}};
}

Sprite& picture(GraphicList& list, const Bytes& file)
{
    list.load(FileType::Drawfile, file);
    return *list.item(0).workingImage(0);
}

} // namespace

TEST(Drawfiles, RiscOsFontNamesAndEncodedFontsBecomeFontsWeHave)
{
    const DrawFont homerton = drawFontFromName("Homerton.Bold.Oblique");
    EXPECT_EQ(homerton.face, "Arial");
    EXPECT_EQ(homerton.weight, 700);
    EXPECT_TRUE(homerton.italic);
    const DrawFont trinity = drawFontFromName("Trinity.Medium");
    EXPECT_EQ(trinity.face, "Times New Roman");
    EXPECT_EQ(trinity.weight, 400);
    EXPECT_FALSE(trinity.italic);
    const DrawFont newHall = drawFontFromName("NewHall.Light");
    EXPECT_EQ(newHall.face, "NewHall");
    EXPECT_EQ(newHall.weight, 300);
    EXPECT_EQ(drawFontFromName("Corpus.DemiBold").weight, 600) << ".BOLD does not match: the dot is before DEMI";
    EXPECT_EQ(drawFontFromName("Corpus.DemiBold").face, "Courier New");

    DrawFont typed;
    typed.face = "Times New Roman";
    typed.weight = 700;
    typed.italic = true;
    typed.underline = true;
    const std::string encoded = encodeDrawFont(typed, 'R');
    ASSERT_EQ(encoded.size(), 122u);
    const DrawFont back = drawFontFromName(encoded);
    EXPECT_EQ(back.face, typed.face);
    EXPECT_EQ(back.weight, 700);
    EXPECT_TRUE(back.italic && back.underline && !back.strikeOut);
    EXPECT_EQ(back.encodedFlag, 'R');

    test::ensureApplication();
    // Faces this system lacks come through their stand-ins.
    EXPECT_EQ(homerton.qfont(20).family(), "Liberation Sans");
    EXPECT_EQ(trinity.qfont(20).family(), "Liberation Serif");
    EXPECT_EQ(systemDrawFont().qfont(20).family(), "Liberation Mono");
}

TEST(Drawfiles, PathsFillByTheirRuleAndOutlineWithTheirCapsAndDashes)
{
    test::ensureApplication();
    // An outer square around an inner one, both drawn the same way round: non-zero fills the
    // middle, even-odd leaves a hole. Style bit 6 asks for even-odd.
    auto nested = [](uint32_t style) {
        std::vector<DrawBuilder::Element> e = square(0, 0, 40);
        const auto inner = square(10, 10, 20);
        e.insert(e.end(), inner.begin(), inner.end());
        return DrawBuilder().path(kRed, kNone, 0, style, e).file();
    };
    GraphicList nonZero, evenOdd;
    const Sprite& filled = picture(nonZero, nested(0));
    const Sprite& holed = picture(evenOdd, nested(0x40));
    EXPECT_EQ(filled.width(), 42) << "the measured box and two pixels";
    EXPECT_EQ(rgbAt(filled, 21, 21), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(holed, 21, 21), rgb(255, 255, 255));
    EXPECT_EQ(rgbAt(holed, 5, 21), rgb(255, 0, 0));

    // A path with neither fill nor outline draws nothing and still counts in the size.
    GraphicList ghost;
    const Sprite& spaced = picture(ghost,
        DrawBuilder().path(kRed, kNone, 0, 0, square(0, 0, 10)).path(kNone, kNone, 0, 0, square(90, 0, 10)).file());
    EXPECT_EQ(spaced.width(), 102);
    EXPECT_EQ(rgbAt(spaced, 95, 5), rgb(255, 255, 255));

    // A 4-pixel line with a triangular start cap (half-width 2 line widths, length 3) and a
    // butt end: the cap reaches 12 pixels beyond the start, the end stops flat. A dashed line
    // has gaps; one whose dashes scale to nothing is solid. An empty path widens the picture
    // to x 0..90, y -10..50, so that the cap is inside it.
    const uint32_t triangularStart = (3u << 4) | (32u << 16) | (48u << 24);
    GraphicList capped;
    const Sprite& line = picture(capped, DrawBuilder()
                                             .path(kNone, kNone, 0, 0, {{2, {0, -10}}, {8, {90, 50}}})
                                             .path(kNone, kBlack, 4, triangularStart, {{2, {20, 40}}, {8, {80, 40}}})
                                             .path(kNone, kBlack, 2, 0, {{2, {20, 10}}, {8, {80, 10}}}, {4, 4})
                                             .path(kNone, kBlack, 2, 0, {{2, {20, 0}}, {8, {80, 0}}}, {0, 0})
                                             .file());
    ASSERT_EQ(line.width(), 92);
    auto at = [&](int x, int drawY) { return rgbAt(line, x + 1, 50 - drawY + 1); };
    EXPECT_EQ(at(16, 40), rgb(0, 0, 0)) << "inside the triangular cap";
    EXPECT_EQ(at(12, 46), rgb(255, 255, 255)) << "beside the cap's tip";
    EXPECT_EQ(at(84, 40), rgb(255, 255, 255)) << "the butt end stops at the end point";
    int gaps = 0, solidGaps = 0;
    for (int x = 22; x < 78; ++x) {
        gaps += at(x, 10) == rgb(255, 255, 255);
        solidGaps += at(x, 0) == rgb(255, 255, 255);
    }
    EXPECT_GT(gaps, 15);
    EXPECT_EQ(solidGaps, 0);
}

TEST(Drawfiles, CurvesReachingFarOutsideTheirBoxCannotFillMemory)
{
    test::ensureApplication();
    // An arch 80 pixels wide, drawn after `before`: its top is at y 70 (Draw's y is upwards).
    auto arch = [](DrawBuilder before) {
        return before.path(kNone, kBlack, 2, 0, {{2, {10, 10}}, {6, {10, 90, 90, 90, 90, 10}}}).file();
    };
    GraphicList plain;
    const Sprite& drawn = picture(plain, arch(DrawBuilder()));
    // Both pictures measure x and y 10 ... 90: the top is at pixel (41, 21).
    auto top = [](const Sprite& s) { return rgbAt(s, 41, 21); };
    ASSERT_EQ(top(drawn), rgb(0, 0, 0));

    // A damaged path that claims the arch's box but whose 1200 curves pull at points two billion
    // units away: each would flatten to thousands of points. Past the picture's share of
    // points the rest, the arch too, are drawn as straight lines.
    Bytes hog;
    ByteWriter w(&hog);
    for (int v : {10, 10, 90, 90})
        w.u32(uint32_t(v * kPixel));
    for (uint32_t v : {kNone, kNone, 0u, 0u})
        w.u32(v);
    w.u32(2);
    w.zeros(8);
    for (int i = 0; i < 1200; ++i)
        for (int v : {6, 0, 2000000000, 100 * kPixel, 2000000000, 100 * kPixel * (i % 2), 0})
            w.u32(uint32_t(v));
    w.u32(0);
    DrawBuilder hogged;
    hogged.add(2, hog);
    GraphicList damaged;
    const Sprite& flattened = picture(damaged, arch(hogged));
    EXPECT_EQ(top(flattened), rgb(255, 255, 255));
}

TEST(Drawfiles, APathReachingMillionsOfPixelsOutOfItsBoxOpensInTheProgramShowingWhatLiesInIt)
{
    test::StartedProgram p;
    // A damaged path in a 40-pixel box: a red triangle outlined in black whose third corner lies
    // two billion units (millions of pixels) up and to the right. What shows is a wedge between
    // the diagonal from (0, 0) and the nearly parallel side from (40, 0).
    Bytes body;
    ByteWriter w(&body);
    for (int v : {0, 0, 40, 40})
        w.u32(uint32_t(v * kPixel));
    for (uint32_t v : {kRed, kBlack, uint32_t(2 * kPixel), 0u})
        w.u32(v);
    for (int v : {2, 0, 0, 8, 40 * kPixel, 0, 8, 2000000000, 2000000000, 5, 0})
        w.u32(uint32_t(v));
    DrawBuilder builder;
    builder.add(2, body);
    const std::string path = p.dir.file("wedge.aff");
    test::writeBytes(path, builder.file());
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_TRUE(p.sink.shown.empty());
    Film& film = *p.view().film();
    ASSERT_EQ(film.width(), 42);
    const Sprite& frame = *film.workingImage(0);
    auto at = [&](int x, int drawY) { return rgbAt(frame, x + 1, 40 - drawY + 1); };
    EXPECT_EQ(at(30, 12), rgb(255, 0, 0)) << "inside the wedge";
    EXPECT_EQ(at(38, 30), rgb(255, 0, 0)) << "inside the wedge";
    EXPECT_EQ(at(10, 30), rgb(255, 255, 255)) << "above the diagonal";
    const uint32_t outline = at(20, 20);
    EXPECT_TRUE(outline != rgb(255, 0, 0) && outline != rgb(255, 255, 255)) << "on the diagonal's outline";
}

TEST(Drawfiles, EveryCorpusFileOpensOrIsRefusedAndSomeAreLookedAt)
{
    test::ensureApplication();
    const fs::path folder = test::corpusDir("draw");
    CELVANE_REQUIRE_CORPUS(folder);
    test::RecordingSink sink;
    std::set<std::string> refused;
    std::map<std::string, QImage> pictures;
    for (const auto& [name, path] : test::corpusFiles(folder)) {
        SCOPED_TRACE(path.string());
        try {
            GraphicList list;
            pictures[name] = spriteToImage(picture(list, readFile(path.string())));
        } catch (const Error& e) {
            EXPECT_EQ(e.userMessage(), loadString(IDS_CANNOT_LOAD_TYPE)) << e.what();
            refused.insert(name);
        }
    }
    // Not Drawfiles, empty, or nothing but damage.
    EXPECT_EQ(refused, (std::set<std::string>{"ro-drawfile-testfiles/NotDraw.aff", "ro-drawfile-testfiles/BadFile.aff",
                                              "ro-draw-test/Empty.aff", "ro-draw-test/Illegal.aff",
                                              "ro-draw-test/SizeNought.aff"}));
    EXPECT_EQ(pictures.size(), 55u);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(pictures["ro-draw-test/Pictures-butterfly.aff"].size(), QSize(765, 639));

    // Looked at once by eye: a butterfly of curves, the Draw logo, text turned about, a
    // Hilbert curve, a die, and overlapping circles of colour.
    const std::map<std::string, std::string> looked = {
        {"ro-draw-test/Pictures-butterfly.aff",
            "f5f7fde8e7f8f4fdeadef8e4edfefafef3f2fcf8fffffffffcfffffaffffffffdde0f0ccfbffffffc5c4c3c3eaffffffd2e1efcdf6"
            "fffffffbfaf2fcffffffff"},
        {"ro-draw-test/DrawDemo.aff",
            "fffffffffff2eefffffffffffeb4c8efffffffffe8b0cae2fffffffffee1effaffffffffffc0b6feffffffffffffffffffffffffff"
            "ffffffffffffffffffffff"},
        {"ro-draw-test/TrfmText.aff",
            "fffffffff8d7d1ffffffffffd2c1b0f5fffffffcbafee8cdffdfdddcdafffbbbffa6e6dbd8fffab9e5b0fffdbcfde8cfc4efffffd1"
            "bfaef5f5fffffff9d8d3ff"},
        {"ro-draw-test/HilbCurve.aff",
            "e5e5e5e5e5e5e5e5e5e5e5e5e5e5e5e5e5e5e4e5e5e4e5e4e5e5e4e5e5e5e5e4e5e5e5e5e5e5e5e5e5e5e5e5e5e5e5e4e5e5e4e5e5"
            "e4e5e5e5e4e5e4e5e5e4e5"},
        {"draw2svg/die.aff",
            "d0b090798a96e7ff66494c7b5b4c4a8a904869704646957b834c46bf514c887f984c46874e4ca198d84f4a9f4d4cbeaeffae76be4f"
            "62a8effffe828ccffeffff"},
        {"gerph-presenter/rgbcircles.aff",
            "fffd9f5457a1fdffffb44b4b4b4bbbffff8b5952627398ffc35a7fc5e9d7addc472c81fefec583912c274db8b8887f806a272f9fa3"
            "807fa4ee6a306d9a80a3f3"},
    };
    test::expectThumbnails(pictures, looked);
}

TEST(Drawfiles, ADrawfileOpensInTheProgramAsAFilmAndServesAsAStamp)
{
    test::StartedProgram p;
    const std::string path = p.dir.file("box.aff");
    test::writeBytes(path, DrawBuilder().path(kRed, kBlack, 2, 0, square(0, 0, 30)).file());
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_TRUE(p.sink.shown.empty());
    EXPECT_EQ(p.frame().windowTitle().toStdString(), "box.qfm * - Celvane");
    Film& film = *p.view().film();
    ASSERT_EQ(film.frameCount(), 1);
    EXPECT_EQ(film.width(), 32) << "the box and its margin";
    EXPECT_EQ(rgbAt(*film.workingImage(0), 16, 16), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(*film.workingImage(0), 1, 16), rgb(0, 0, 0)) << "the outline";

    // Plotted as a stamp, half size, onto a blue frame: the box lands centred, the rest stays.
    GraphicList list;
    list.load(FileType::Drawfile, readFile(path));
    Sprite frame;
    frame.create(100, 100, 0, 0, 32);
    frame.fillPixel(frame.pixelValueForRgb(rgb(0, 0, 255)));
    PlotRequest request;
    request.destinationSprite = &frame;
    request.destination = Rect{0, 0, 100, 100};
    request.transform = PlotTransform{0.5, 0.5, 0};
    dynamic_cast<DrawfileGraphic&>(list.item(0)).plot(request);
    EXPECT_EQ(rgbAt(frame, 50, 50), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(frame, 70, 50), rgb(0, 0, 255));
}

TEST(Drawfiles, ADrawfileIsStampedAtDoubleSizeFromThePickerAndImportedIntoTheFilm)
{
    test::DrawingProgram p;
    const std::string path = p.dir.file("box.aff");
    test::writeBytes(path, DrawBuilder().path(kRed, kRed, 0, 0, square(0, 0, 30)).file());
    p.frame().runCommand(ID_TOOL_STAMP);
    CStampPicker& picker = p.frame().stampPicker();
    test::dropFiles(*picker.window().entriesWidget(), {QString::fromStdString(path)});
    const int box = picker.itemCount() - 1;
    ASSERT_GE(box, 0);
    // Its picture in the picker is the whole box, as large as the cell allows.
    QImage icon(48, 48, QImage::Format_RGB32);
    icon.fill(Qt::white);
    {
        QPainter painter(&icon);
        picker.paintIcon(box, painter, icon.rect());
    }
    for (QPoint at : {QPoint(3, 3), QPoint(24, 24), QPoint(44, 44)})
        EXPECT_EQ(icon.pixel(at) & 0xFFFFFF, 0xFF0000u) << at.x() << ", " << at.y();
    picker.select(PickerSelect::None, 0);
    picker.select(PickerSelect::Select, box);
    ASSERT_TRUE(picker.run(ID_STAMP_DOUBLE_SIZE));
    p.drag({100, 75}, {100, 75});
    const uint32_t red = p.image().pixelValueOf(p.image().nearestColourWord(0x0000FF));
    // Drawn afresh at twice its size: about 60 pixels across, centred where it was put.
    for (int dx : {-26, 0, 26})
        EXPECT_EQ(p.image().pixelAt(100 + dx, 75), red) << dx;
    EXPECT_NE(p.image().pixelAt(100 + 36, 75), red);
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_NE(p.image().pixelAt(100, 75), red);

    // Imported into the film, blank again: the box takes the blank frame's place, filling it.
    p.app.filmImport().importFile(p.view(), path, ImportOptions{});
    ASSERT_EQ(p.film().frameCount(), 1);
    EXPECT_EQ(p.image().pixelAt(10, 10), red);
    EXPECT_EQ(p.image().pixelAt(190, 140), red);
    EXPECT_TRUE(p.sink.shown.empty());
}
