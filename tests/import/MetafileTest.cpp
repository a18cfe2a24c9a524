// Windows and enhanced metafiles: pictures built here and the files of other programs play to
// the pictures they hold, damaged ones are refused in the program's words, what we record reads
// back as what was painted, and a metafile opens in the program as a film.

#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/Chunks.h"
#include "base/CommandIds.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "gfx/Colour.h"
#include "import/MetafileExport.h"
#include "import/MetafileGraphic.h"
#include "import/MetafilePlayer.h"
#include "import/MetafileRecorder.h"
#include "platform/SpriteImage.h"
#include "view/CCelvaneView.h"

using namespace celvane;
namespace fs = std::filesystem;

namespace {

uint32_t rgbAt(const Sprite& s, int x, int y) { return rgbOfWord(s.colourWordOf(s.pixelAt(x, y))); }

// Windows metafile records, built by hand: 16-bit words after a size and a function.
class WmfBuilder {
public:
    WmfBuilder& record(uint16_t function, std::initializer_list<int> params)
    {
        ByteWriter w(&records_);
        w.u32(uint32_t(3 + params.size()));
        w.u16(function);
        for (int p : params)
            w.u16(uint16_t(p));
        return *this;
    }
    // A placeable header with bounds 0, 0, right, bottom, then the records.
    Bytes file(std::optional<std::array<int, 3>> placeable, bool goodChecksum = true) const
    {
        Bytes out;
        ByteWriter w(&out);
        if (placeable) {
            PlaceableHeader{0, 0, (*placeable)[0], (*placeable)[1], (*placeable)[2]}.write(w);
            if (!goodChecksum)
                out[21] ^= 0x40;
        }
        Bytes body = records_;
        ByteWriter(&body).bytes(Bytes{3, 0, 0, 0, 0, 0}); // end of file
        w.u16(1);
        w.u16(9);
        w.u16(0x0300);
        w.u32(uint32_t((18 + body.size()) / 2));
        w.u16(4);
        w.u32(16);
        w.u16(0);
        w.bytes(body);
        return out;
    }

private:
    Bytes records_;
};

// A picture 1440 x 720 units: its left half a red square, drawn with a red brush and no pen.
WmfBuilder redSquareOnTheLeft()
{
    WmfBuilder b;
    b.record(0x020B, {0, 0})                    // window origin
        .record(0x020C, {720, 1440})            // window extent (y, x)
        .record(0x02FC, {0, 0x00FF, 0x0000, 0}) // red solid brush, slot 0
        .record(0x02FA, {5, 0, 0, 0, 0})        // null pen, slot 1
        .record(0x012D, {0})
        .record(0x012D, {1})
        .record(0x041B, {720, 720, 0, 0}); // rectangle: bottom, right, top, left
    return b;
}

// Enhanced metafile records, built by hand on a reference device of 10 pixels to the
// millimetre whose bounds are 0, 0, 100, 100: played into 100 x 100 a device pixel is a pixel.
class EmfBuilder {
public:
    EmfBuilder& record(uint32_t type, std::initializer_list<int> words, ByteSpan extra = {})
    {
        ByteWriter w(&records_);
        w.u32(type);
        w.u32(uint32_t(8 + 4 * words.size() + extra.size()));
        for (int v : words)
            w.u32(uint32_t(v));
        w.bytes(extra);
        return *this;
    }
    // A solid brush of colour 0x00BBGGRR in slot `slot`, selected, and the null pen.
    EmfBuilder& brush(int slot, uint32_t colour)
    {
        return record(39, {slot, 0, int(colour), 0}).record(37, {slot}).record(37, {int(0x80000008)});
    }
    EmfBuilder& rectangle(int l, int t, int r, int b) { return record(43, {l, t, r, b}); }
    Bytes file() const
    {
        Bytes out;
        ByteWriter w(&out);
        w.u32(1);
        w.u32(88);
        for (int v : {0, 0, 100, 100, 0, 0, 1000, 1000})
            w.u32(uint32_t(v));
        w.u32(0x464D4520);
        w.u32(0x10000);
        w.u32(0); // bytes
        w.u32(0); // records
        w.u16(8); // handles
        w.u16(0);
        w.zeros(12);
        for (int v : {1000, 1000, 100, 100})
            w.u32(uint32_t(v));
        w.bytes(records_);
        for (int v : {14, 20, 0, 16, 20})
            w.u32(uint32_t(v));
        return out;
    }

private:
    Bytes records_;
};

QImage playedEmf(const EmfBuilder& b)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    playMetafile(readMetafile(b.file()), painter, QRectF(0, 0, 100, 100));
    return image;
}

// A 32-bit DIB of 2 x 2 pixels, bottom row first: its header and its pixels as one block.
Bytes dib2x2(QRgb bottomLeft, QRgb bottomRight, QRgb topLeft, QRgb topRight)
{
    Bytes out;
    ByteWriter w(&out);
    for (int v : {40, 2, 2})
        w.u32(uint32_t(v));
    w.u16(1);
    w.u16(32);
    w.zeros(24);
    for (QRgb p : {bottomLeft, bottomRight, topLeft, topRight})
        w.u32(p);
    return out;
}

constexpr uint32_t kRedRef = 0x0000FF, kGreenRef = 0x00FF00, kBlueRef = 0xFF0000;
const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255), kWhite = qRgb(255, 255, 255);

QImage played(const MetafileData& m, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    playMetafile(m, painter, QRectF(0, 0, width, height));
    return image;
}

// The mean difference per channel between two pictures of one size.
double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

TEST(Metafiles, APlaceableHeaderGivesTheSizeAndItsChecksumIsChecked)
{
    test::ensureApplication();
    GraphicList list;
    list.load(FileType::Metafile, redSquareOnTheLeft().file(std::array{1440, 720, 1440}));
    Sprite& image = *list.item(0).workingImage(0);
    EXPECT_EQ(image.width(), 96);
    EXPECT_EQ(image.height(), 48);
    EXPECT_EQ(rgbAt(image, 10, 10), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(image, 47, 47), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(image, 49, 10), rgb(255, 255, 255)) << "the right half stays white";
    ImageInfo info;
    list.getFrameDescription(0, info);
    EXPECT_EQ(info.name, "MetaFile");

    // A damaged header is refused in the program's words.
    try {
        GraphicList().load(FileType::Metafile, redSquareOnTheLeft().file(std::array{1440, 720, 1440}, false));
        ADD_FAILURE() << "a wrong checksum was taken";
    } catch (const Error& e) {
        EXPECT_EQ(e.userMessage(), "Sorry, Celvane cannot load this metafile.");
    }

    // Without the header the picture is 30 mm on its longer side, shaped as its window.
    GraphicList bare;
    bare.load(FileType::Metafile, redSquareOnTheLeft().file(std::nullopt));
    Sprite& unplaced = *bare.item(0).workingImage(0);
    EXPECT_EQ(unplaced.width(), 113);
    EXPECT_EQ(unplaced.height(), 56);
    EXPECT_EQ(rgbAt(unplaced, 20, 20), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(unplaced, 90, 20), rgb(255, 255, 255));
}

TEST(Metafiles, RecordsWeDoNotDrawOrCannotReadAreSkippedAndCounted)
{
    test::ensureApplication();
    WmfBuilder b = redSquareOnTheLeft();
    b.record(0x0999, {1, 2, 3})       // no such record
        .record(0x0324, {400, 0, 0}); // a polygon claiming 400 points it does not have
    b.record(0x02FC, {0, 0xFF00, 0x0000, 0}).record(0x012D, {2}).record(0x041B, {720, 1440, 0, 720});
    const MetafileData m = readMetafile(b.file(std::array{1440, 720, 1440}));
    QImage image(96, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const MetafilePlayCount count = playMetafile(m, painter, QRectF(0, 0, 96, 48));
    painter.end();
    EXPECT_EQ(count.skipped, 2);
    EXPECT_EQ(count.played, 10);
    EXPECT_EQ(image.pixel(70, 20), qRgb(0, 255, 0)) << "records after the damaged one still draw";
}

TEST(Metafiles, EveryCorpusFileOpensOrIsRefusedAndSomeAreLookedAt)
{
    test::ensureApplication();
    test::RecordingSink sink;
    std::set<std::string> refused;
    std::map<std::string, QImage> pictures;
    int opened = 0;
    for (const char* kind : {"wmf", "emf"}) {
        const fs::path folder = test::corpusDir(kind);
        CELVANE_REQUIRE_CORPUS(folder);
        for (const auto& [name, path] : test::corpusFiles(folder)) {
            SCOPED_TRACE(path.string());
            try {
                GraphicList list;
                list.load(std::string(kind) == "wmf" ? FileType::Metafile : FileType::EnhancedMetafile,
                          readFile(path.string()));
                const Sprite* image = list.item(0).workingImage(0);
                ASSERT_NE(image, nullptr);
                pictures[name] = spriteToImage(*image);
                ++opened;
            } catch (const Error& e) {
                EXPECT_EQ(e.userMessage(), loadString(IDS_CANNOT_LOAD_METAFILE)) << e.what();
                refused.insert(name);
            }
        }
    }
    EXPECT_EQ(refused, (std::set<std::string>{"libwmf/Readme-not-a-metafile.wmf",
                                              "libemf2svg-corrupted/bad_corrupted_2014-12-02-215338.emf",
                                              "libemf2svg-corrupted/bad_corrupted_2014-12-02-215428.emf"}));
    EXPECT_EQ(opened, 55);
    EXPECT_TRUE(sink.shown.empty());

    // Looked at once by eye: a cartoon face, a van, a test chart of every kind of shape, fill and
    // font, a bar chart, a chart of GDI records, a picture in hundredths of a millimetre with its
    // y axis upwards, a class diagram full of text, and a printed web page of placed glyphs.
    const std::map<std::string, std::string> looked = {
        {"poi/santa.wmf",
            "ffd58b426fba7bf1ff566af8f68d4fe3fd2c3f94899276e1e3112170855f7dc1db36739aa9b2b0979683aef3eeface8ef3f56fcde3"
            "a390eafffeca94ab88f4ff"},
        {"libwmf/2doorvan.wmf",
            "ffffd7996f5f69bdfff7e9ccb1666694f3967e89966666797e4f514f4e524e5c4c59315b575c335738473053595c4b4a962d6da9bd"
            "2969cceda34bfffff895f4"},
        {"libwmf/fulltest.wmf",
            "d4bdcac1c3cac6e0f3f7fbfbf1fbfbfbfbfbfbf5d5d6bcf5f2f5f7f7eef7f7f8f9ece0fce7ede4f7edf6f6f5edf2f7f8d4e9ecd2ea"
            "e2f1f1fbf5f8f7f9fbf8fa"},
        {"libemf2svg/test-000.emf",
            "f8f7f3f3f3f5faf8f3f9baf4fafbfffcf5f793f09eeafffcf5f793f09beaeceff6f793e689eaede9f6e08bd685eefffcf9f1edf2eb"
            "fdfffcf8f8f7f8f6fafaf8"},
        {"wmf2svg/fulltest.emf",
            "e1edf3f3eefcffffefdce1eccffcffffe7cce4f0f5fcffffe3f0ececedfcfffff8f7fffafcfdfffffcfcfcfcfcfeffffffffffffff"
            "ffffffffffffffffffffff"},
        {"libuemf/test_mm_himetric_ref.emf",
            "eff0f0c5c7f0f0eef1f2f2d9dcf2f2f1f1f2f2e7e8f2f2f1c3f2f2f2f2f2f2f1a9e9f2f2f2f2f2f1ebf0f2f2f2f2f0eff1f2f2f2f2"
            "f298a8eff0f0f0f0f0a8b1"},
        {"poi/SimpleEMF_mac.emf",
            "faf3f5f4f5fdf9faf7e6e5e6e8eaeafef9ebeff2f2f3fafdfdf5f6f7fafafafdffffffffffffffffffffffffffffffffffffffffff"
            "fffffffefffffffffffefc"},
        {"libemf2svg/EA-test-file-001.emf",
            "fbf5f5edf0f5f7fbfdf8efecedeff9fdfdf3e2e1eef0e2f1fdfcf2e4efe9f7fdf5ece5e3edfafffdf2f2eedff6f5fefdfdf8f4e9f5"
            "f3fafdefeae7dde8f4f8fa"},
    };
    test::expectThumbnails(pictures, looked);
    // The three mapping modes of one picture draw it alike.
    for (const char* mode : {"libuemf/test_mm_twips_ref.emf", "libuemf/test_mm_anisotropic_ref.emf"})
        EXPECT_LT(meanDifference(pictures[mode], pictures["libuemf/test_mm_himetric_ref.emf"]), 2) << mode;
}

TEST(Metafiles, WhatWeRecordReadsBackAsWhatWasPainted)
{
    test::ensureApplication();
    const int w = 160, h = 120;
    QImage stamp(24, 24, QImage::Format_ARGB32);
    stamp.fill(Qt::transparent);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 12; ++x)
            stamp.setPixel(x, y, qRgba(0, 0, 200, 255));
    auto paint = [&](QPainter& p) {
        p.setPen(QPen(Qt::darkGreen, 4));
        p.setBrush(QColor(250, 200, 0));
        p.drawEllipse(QRectF(10, 10, 80, 60));
        QPainterPath curve(QPointF(10, 110));
        curve.cubicTo(50, 60, 90, 140, 150, 90);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::red, 3));
        p.drawPath(curve);
        p.translate(120, 10);
        p.rotate(30);
        p.fillRect(QRectF(0, 0, 30, 20), Qt::magenta);
        p.resetTransform();
        p.drawImage(QRectF(100, 60, 48, 48), stamp);
    };
    QImage direct(w, h, QImage::Format_RGB32);
    direct.fill(Qt::white);
    {
        QPainter p(&direct);
        paint(p);
    }
    MetafileRecorder recorder(w, h);
    {
        QPainter p(&recorder);
        paint(p);
    }
    for (MetafileKind kind : {MetafileKind::Enhanced, MetafileKind::Windows}) {
        SCOPED_TRACE(kind == MetafileKind::Enhanced ? "enhanced" : "windows");
        const Bytes bytes = recorder.finish(kind);
        const MetafileData m = readMetafile(bytes);
        EXPECT_EQ(m.displayWidth, w);
        EXPECT_EQ(m.displayHeight, h);
        const QImage back = played(m, w, h);
        EXPECT_LT(meanDifference(back, direct), 3.0);
        EXPECT_EQ(back.pixel(104, 84), qRgb(0, 0, 200)) << "the image's opaque half";
        EXPECT_EQ(back.pixel(140, 64), direct.pixel(140, 64)) << "its clear half shows what was below";
        EXPECT_EQ(back.pixel(50, 40), qRgb(250, 200, 0));
        if (kind == MetafileKind::Windows) {
            // The header's checksum makes the XOR of all its eleven words 0.
            uint16_t x = 0;
            for (size_t i = 0; i < PlaceableHeader::kSize; i += 2)
                x ^= loadLE16(bytes.data() + i);
            EXPECT_EQ(x, 0);
            EXPECT_EQ(loadLE16(bytes.data() + 14), 96);
        }
    }

    // A metafile graphic saves in either kind, and each plays as the original does.
    GraphicList list;
    list.load(FileType::EnhancedMetafile, recorder.finish(MetafileKind::Enhanced));
    const QImage original = spriteToImage(*list.item(0).workingImage(0));
    for (int type : {FileType::Metafile, FileType::EnhancedMetafile}) {
        Bytes saved;
        ByteWriter out(&saved);
        const size_t written = list.item(0).save(&out, type, false);
        EXPECT_EQ(written, saved.size());
        GraphicList again;
        again.load(type, saved);
        EXPECT_LT(meanDifference(spriteToImage(*again.item(0).workingImage(0)), original), 3.0) << type;
    }
}

TEST(Metafiles, PlottedAsAnImageItsMaskCoversWhatItDrewAndItTurns)
{
    test::ensureApplication();
    GraphicList list;
    list.load(FileType::Metafile, redSquareOnTheLeft().file(std::array{1440, 720, 1440}));
    auto& graphic = dynamic_cast<MetafileGraphic&>(list.item(0));
    Sprite frame;
    frame.create(200, 200, 0, 0, 32);
    frame.fillPixel(frame.pixelValueForRgb(rgb(0, 0, 255)));
    PlotRequest request;
    request.destinationSprite = &frame;
    request.destination = Rect{0, 0, 200, 200};
    request.transform = PlotTransform{2, 2, 90};
    graphic.plot(request);
    // 96 x 48 doubled and turned a quarter: 96 wide, 192 high, centred, its left end (the red
    // square) upwards. Where the picture drew nothing the frame shows through.
    EXPECT_EQ(rgbAt(frame, 100, 100 - 48), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(frame, 60, 10), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(frame, 100, 100 + 48), rgb(0, 0, 255)) << "the half it left empty";
    EXPECT_EQ(rgbAt(frame, 30, 100), rgb(0, 0, 255)) << "outside the picture";
    EXPECT_EQ(graphic.plot(request), 1) << "a second plot reuses the image";
}

TEST(Metafiles, AMetafileOpensInTheProgramAsAFilmAndSavesAsOne)
{
    test::StartedProgram p;
    const std::string path = p.dir.file("flag.wmf");
    test::writeBytes(path, redSquareOnTheLeft().file(std::array{1440, 720, 1440}));
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_TRUE(p.sink.shown.empty());
    EXPECT_EQ(p.frame().windowTitle().toStdString(), "flag.qfm * - Celvane");
    Film& film = *p.view().film();
    ASSERT_EQ(film.frameCount(), 1);
    EXPECT_EQ(film.width(), 96);
    EXPECT_EQ(film.height(), 48);
    EXPECT_EQ(rgbAt(*film.workingImage(0), 20, 20), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(*film.workingImage(0), 70, 20), rgb(255, 255, 255));

    p.chooser.paths.push_back(p.dir.file("flag.qfm"));
    p.frame().runCommand(ID_FILE_SAVE);
    p.frame().runCommand(ID_FILE_NEW);
    p.chooser.paths.push_back(p.dir.file("flag.qfm"));
    p.frame().runCommand(ID_FILE_OPEN);
    Film& again = *p.view().film();
    ASSERT_EQ(again.frameCount(), 1);
    EXPECT_EQ(rgbAt(*again.workingImage(0), 20, 20), rgb(255, 0, 0));

    // Imported into the film, the picture becomes a frame after the current one.
    p.app.filmImport().importFile(p.view(), path, ImportOptions{});
    ASSERT_EQ(again.frameCount(), 2);
    EXPECT_EQ(p.view().currentFrame(), 1);
    EXPECT_EQ(rgbAt(*again.workingImage(1), 20, 20), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(*again.workingImage(1), 70, 20), rgb(255, 255, 255));

    // A file that is no metafile is refused, and the film stays.
    const std::string bad = p.dir.file("broken.emf");
    test::writeBytes(bad, Bytes(200, 7));
    p.chooser.paths.push_back(bad);
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.sink.shown.size(), 1u);
    EXPECT_NE(p.sink.shown[0].find("Sorry, Celvane cannot load this metafile."), std::string::npos) << p.sink.shown[0];
    EXPECT_EQ(p.view().film()->frameCount(), 2);

    // The batch tool reads it as the program does.
    const test::ToolRun info = test::runTool("info " + path);
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("size: 96 x 48"), std::string::npos) << info.out;
}

TEST(Metafiles, MappingModesWorldTransformsAndSavedStatesPlaceShapes)
{
    test::ensureApplication();
    // Device units.
    QImage plain = playedEmf(EmfBuilder().brush(1, kRedRef).rectangle(10, 10, 30, 30));
    EXPECT_EQ(plain.pixel(20, 20), kRed);
    EXPECT_EQ(plain.pixel(40, 20), kWhite);
    // Hundredths of a millimetre with y upwards, the origin moved to the bottom: the square
    // lands near the bottom.
    for (const EmfBuilder& b :
        {EmfBuilder().record(17, {3}).record(12, {0, 100}).brush(1, kRedRef).rectangle(100, 100, 300, 300),
            EmfBuilder()
                .record(17, {8})
                .record(9, {1000, 1000})
                .record(11, {100, -100})
                .record(12, {0, 100})
                .brush(1, kRedRef)
                .rectangle(100, 100, 300, 300)}) {
        const QImage up = playedEmf(b);
        EXPECT_EQ(up.pixel(20, 80), kRed);
        EXPECT_EQ(up.pixel(20, 20), kWhite);
    }
    // Isotropic mapping keeps the window's shape: the smaller scale serves both axes.
    QImage iso = playedEmf(EmfBuilder()
                               .record(17, {7})
                               .record(9, {100, 200})
                               .record(11, {100, 100})
                               .brush(1, kRedRef)
                               .rectangle(0, 0, 100, 100));
    EXPECT_EQ(iso.pixel(40, 40), kRed);
    EXPECT_EQ(iso.pixel(60, 40), kWhite) << "half scale across as well as down";
    // A world transform turning a quarter: (x, y) goes to (100 - y, x).
    QImage turned = playedEmf(EmfBuilder()
                                  .record(35, {0, 0x3F800000, int(0xBF800000), 0, 0x42C80000, 0})
                                  .brush(1, kRedRef)
                                  .rectangle(10, 10, 30, 20));
    EXPECT_EQ(turned.pixel(85, 20), kRed);
    EXPECT_EQ(turned.pixel(20, 15), kWhite);
    // A saved state brings back the brush selected when it was saved.
    QImage restored = playedEmf(
        EmfBuilder().brush(1, kRedRef).record(33, {}).brush(2, kGreenRef).record(34, {-1}).rectangle(0, 0, 50, 50));
    EXPECT_EQ(restored.pixel(25, 25), kRed);
}

TEST(Metafiles, ClipsRasterOperationsPalettesAndObjectSlotsActAsInADrawingContext)
{
    test::ensureApplication();
    QImage clipped = playedEmf(EmfBuilder()
                                   .record(30, {0, 0, 50, 100})
                                   .record(29, {20, 20, 30, 30})
                                   .brush(1, kRedRef)
                                   .rectangle(0, 0, 100, 100));
    EXPECT_EQ(clipped.pixel(10, 50), kRed);
    EXPECT_EQ(clipped.pixel(75, 50), kWhite) << "outside the intersected clip";
    EXPECT_EQ(clipped.pixel(25, 25), kWhite) << "inside the excluded rectangle";
    // After a restore the clip is as it was saved: none.
    QImage unclipped = playedEmf(EmfBuilder()
                                     .record(33, {})
                                     .record(30, {0, 0, 10, 10})
                                     .record(34, {-1})
                                     .brush(1, kRedRef)
                                     .rectangle(0, 0, 100, 100));
    EXPECT_EQ(unclipped.pixel(75, 75), kRed);
    // A clip region of two rectangles, one ending at the least coordinate there is: it holds
    // nothing, the other still clips.
    QImage region = playedEmf(EmfBuilder()
                                  .record(75, {64, 5, 32, 1, 2, 32, 0, 0, 50, 100, 0, 0, INT32_MIN, 10, 0, 0, 50, 100})
                                  .brush(1, kRedRef)
                                  .rectangle(0, 0, 100, 100));
    EXPECT_EQ(region.pixel(25, 50), kRed);
    EXPECT_EQ(region.pixel(75, 50), kWhite);
    // Mappings past any number, on which Qt's path clipper crashes: a world transform of no
    // numbers is refused (the exclusion after it clips as without it), and a page scale grown
    // without bound by a window shrunk again and again leaves the clip as it was.
    QImage nanWorld = playedEmf(EmfBuilder()
                                    .record(35, {0x7FC00000, 0, 0, 0x3F800000, 0, 0})
                                    .record(29, {0, 0, 50, 100})
                                    .brush(1, kRedRef)
                                    .rectangle(0, 0, 100, 100));
    EXPECT_EQ(nanWorld.pixel(25, 50), kWhite);
    EXPECT_EQ(nanWorld.pixel(75, 50), kRed);
    EmfBuilder shrunk;
    shrunk.record(17, {8}).record(9, {1, 1}).record(11, {1, 1});
    for (int i = 0; i < 40; ++i)
        shrunk.record(32, {1, INT32_MAX, 1, INT32_MAX});
    EXPECT_FALSE(playedEmf(shrunk.record(29, {0, 0, 50, 100}).brush(1, kRedRef).rectangle(0, 0, 100, 100)).isNull());

    // The destination inverted (a pattern blit of DSTINVERT): red becomes cyan.
    QImage inverted = playedEmf(
        EmfBuilder()
            .brush(1, kRedRef)
            .rectangle(0, 0, 100, 100)
            .record(76,
                {0, 0, 99, 99, 0, 0, 50, 100, 0x00550009, 0, 0, 0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(inverted.pixel(25, 50), qRgb(0, 255, 255));
    EXPECT_EQ(inverted.pixel(75, 50), kRed);

    // A colour naming entry 2 of the selected palette.
    Bytes entries;
    for (QRgb c : {kRed, kGreen, kBlue})
        for (int v : {qRed(c), qGreen(c), qBlue(c), 0})
            entries.push_back(uint8_t(v));
    QImage indexed = playedEmf(EmfBuilder()
                                   .record(49, {3, 0x00030300}, entries)
                                   .record(48, {3})
                                   .brush(1, 0x01000002)
                                   .rectangle(0, 0, 100, 100));
    EXPECT_EQ(indexed.pixel(50, 50), kBlue);

    // A Windows metafile's objects take the lowest free slot: after slot 0 is deleted the next
    // brush made lands there.
    WmfBuilder reuse;
    reuse.record(0x020C, {100, 100})
        .record(0x02FC, {0, 0x00FF, 0x0000, 0}) // red, slot 0
        .record(0x02FC, {0, 0xFF00, 0x0000, 0}) // green, slot 1
        .record(0x01F0, {0})                    // slot 0 freed
        .record(0x02FC, {0, 0x0000, 0x00FF, 0}) // blue, slot 0
        .record(0x012D, {0})
        .record(0x041B, {100, 100, 0, 0});
    GraphicList list;
    list.load(FileType::Metafile, reuse.file(std::array{100, 100, 96}));
    EXPECT_EQ(rgbAt(*list.item(0).workingImage(0), 50, 50), rgb(0, 0, 255));
}

TEST(Metafiles, BitmapsLandTheRightWayUpMirroredAndBlended)
{
    test::ensureApplication();
    // StretchDIBits of a bottom-up DIB onto the whole picture: rows count from the bottom.
    const Bytes dib = dib2x2(0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF);
    auto stretch = [&](int x, int width) {
        return EmfBuilder().record(81, {0, 0, 99, 99, x, 0, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, width, 100},
                                   dib);
    };
    QImage upright = playedEmf(stretch(0, 100));
    EXPECT_EQ(upright.pixel(25, 75), kRed) << "the first row is the bottom one";
    EXPECT_EQ(upright.pixel(75, 75), kGreen);
    EXPECT_EQ(upright.pixel(25, 25), kBlue);
    // A negative width draws it mirrored.
    QImage mirrored = playedEmf(stretch(100, -100));
    EXPECT_EQ(mirrored.pixel(25, 75), kGreen);
    EXPECT_EQ(mirrored.pixel(75, 75), kRed);
    // Stretched onto less than a pixel, upright or mirrored (ten logical units to a pixel): at
    // most a line of it shows, and nothing is read or written outside the pictures.
    for (int y : {503, 555, 577, 591})
        for (int height : {7, -7, 3}) {
            QImage sliver = playedEmf(EmfBuilder()
                                          .record(17, {8})
                                          .record(9, {1000, 1000})
                                          .record(11, {100, 100})
                                          .record(81, {0, 0, 99, 99, 200, y, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020,
                                                          600, height},
                                              dib));
            EXPECT_EQ(sliver.pixel(50, 20), kWhite);
            EXPECT_EQ(sliver.pixel(50, y / 10 + 3), kWhite);
        }

    // AlphaBlend with per-pixel alpha: a clear pixel leaves what was there, an opaque one covers.
    const Bytes blend = dib2x2(0x00000000, 0xFF0000FF, 0x00000000, 0xFF0000FF);
    QImage blended = playedEmf(EmfBuilder()
                                   .brush(1, kGreenRef)
                                   .rectangle(0, 0, 100, 100)
                                   .record(114,
                                       {0, 0, 99, 99, 0, 0, 100, 100, 0x01FF0000, 0, 0, 0x3F800000, 0, 0, 0x3F800000, 0,
                                           0, 0, 0, 108, 40, 148, 16, 2, 2},
                                       blend));
    EXPECT_EQ(blended.pixel(25, 50), kGreen);
    EXPECT_EQ(blended.pixel(75, 50), kBlue);
}

TEST(Metafiles, TextAlignsOnItsReferencePointAndArcsAndGradientsRunInTheirDirection)
{
    test::ensureApplication();
    auto text = [](int align) {
        Bytes chars;
        for (char c : std::string("MMMM")) {
            chars.push_back(uint8_t(c));
            chars.push_back(0);
        }
        // A 20-pixel font, then "MMMM" at (50, 50).
        Bytes face(64, 0);
        return EmfBuilder()
            .record(82, {1, -20, 0, 0, 0, 700, 0}, face)
            .record(37, {1})
            .record(22, {align})
            .record(18, {1})
            .record(84, {0, 0, 100, 100, 1, 0, 0, 50, 50, 4, 76, 0, 0, 0, 0, 0, 0}, chars);
    };
    auto inked = [](const QImage& image, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += qGray(image.pixel(x, y)) < 128;
        return n;
    };
    const QImage centred = playedEmf(text(6 | 24)); // centre, baseline
    EXPECT_GT(inked(centred, 20, 30, 50, 50), 20);
    EXPECT_GT(inked(centred, 50, 30, 80, 50), 20);
    EXPECT_EQ(inked(centred, 0, 52, 100, 100), 0) << "nothing below the baseline";
    const QImage right = playedEmf(text(2)); // right, top
    EXPECT_EQ(inked(right, 51, 0, 100, 100), 0);
    EXPECT_EQ(inked(right, 0, 0, 100, 49), 0) << "the top at the reference point";
    EXPECT_GT(inked(right, 0, 50, 50, 75), 40);

    // A pie from the radial to the right round to the radial upwards: counter-clockwise it is
    // the upper right quarter, clockwise the other three.
    const auto pie = EmfBuilder().brush(1, kRedRef);
    QImage anticlockwise = playedEmf(EmfBuilder(pie).record(47, {0, 0, 100, 100, 100, 50, 50, 0}));
    EXPECT_EQ(anticlockwise.pixel(70, 30), kRed);
    EXPECT_EQ(anticlockwise.pixel(30, 30), kWhite);
    EXPECT_EQ(anticlockwise.pixel(70, 70), kWhite);
    QImage clockwise = playedEmf(EmfBuilder(pie).record(57, {2}).record(47, {0, 0, 100, 100, 100, 50, 50, 0}));
    EXPECT_EQ(clockwise.pixel(70, 30), kWhite);
    EXPECT_EQ(clockwise.pixel(30, 30), kRed);
    EXPECT_EQ(clockwise.pixel(70, 70), kRed);

    // A gradient from red at one corner to blue at the other runs across in mode 0, down in mode 1.
    const auto shaded = [](int mode) {
        // Bounds, two vertices (x, y, red and green, blue and alpha), one rectangle, its corners.
        return playedEmf(
            EmfBuilder().record(118, {0, 0, 100, 100, 2, 1, mode, 0, 0, 0xFF00, 0, 100, 100, 0, 0xFF00, 0, 1}));
    };
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 12;
    };
    const QImage across = shaded(0), down = shaded(1);
    EXPECT_TRUE(near(across.pixel(0, 50), kRed));
    EXPECT_TRUE(near(across.pixel(99, 50), kBlue));
    EXPECT_TRUE(near(down.pixel(50, 0), kRed));
    EXPECT_TRUE(near(down.pixel(50, 99), kBlue));
}

TEST(Metafiles, MetafilesAndDrawfilesKeepTheirPicturesInAStampFile)
{
    test::ensureApplication();
    // A placeable Windows metafile, the same without its header, an enhanced metafile, and a
    // Drawfile of one red square.
    MetafileRecorder recorder(40, 30);
    {
        QPainter p(&recorder);
        p.fillRect(QRectF(0, 0, 20, 30), Qt::blue);
    }
    Bytes drawfile;
    {
        ByteWriter w(&drawfile);
        w.bytes("Draw", 4);
        for (uint32_t v : {201u, 0u})
            w.u32(v);
        w.bytes("Celvane     ", 12);
        w.zeros(16);
        w.u32(2);
        w.u32(8 + 4 * (8 + 14)); // the header, box, style words and path elements
        for (int v : {0, 0, 10240, 10240, 0x0000FF00, -1, 0, 0})
            w.u32(uint32_t(v));
        for (int v : {2, 0, 0, 8, 10240, 0, 8, 10240, 10240, 8, 0, 10240, 5, 0})
            w.u32(uint32_t(v));
    }
    const Bytes placed = redSquareOnTheLeft().file(std::array{1440, 720, 1440});
    const Bytes bare = redSquareOnTheLeft().file(std::nullopt);
    GraphicList set;
    set.load(FileType::Metafile, placed);
    set.load(FileType::Metafile, bare);
    set.load(FileType::EnhancedMetafile, recorder.finish(MetafileKind::Enhanced));
    set.load(FileType::Drawfile, drawfile);
    std::vector<QImage> before;
    for (int i = 0; i < 4; ++i)
        before.push_back(spriteToImage(*set.item(i).workingImage(0)));

    Bytes file;
    ByteWriter out(&file);
    const size_t written = set.save(&out, FileType::StampFile, false);
    EXPECT_EQ(written, file.size());
    // The placeable one went in as an enhanced metafile, so that it keeps its size.
    const ChunkSequence chunks(file);
    std::vector<std::string> tags;
    for (const Chunk& c : chunks.chunks())
        tags.push_back(tagText(c.tag));
    EXPECT_EQ(tags, (std::vector<std::string>{"NAM1", "100", "103", "100", "AFF"}));
    const Chunk& aff = chunks.chunks().back();
    EXPECT_TRUE(std::equal(aff.payload.begin(), aff.payload.end(), drawfile.begin(), drawfile.end()))
        << "a Drawfile goes in unchanged";

    GraphicList again;
    again.load(FileType::StampFile, file);
    ASSERT_EQ(again.itemCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const QImage after = spriteToImage(*again.item(i).workingImage(0));
        ASSERT_EQ(after.size(), before[size_t(i)].size()) << i;
        EXPECT_LT(meanDifference(after, before[size_t(i)]), 2.0) << i;
    }
}

TEST(Metafiles, OldDeviceBitmapsAndShortTextRecordsDraw)
{
    test::ensureApplication();
    // A Windows BitBlt of a 2 x 2 monochrome device bitmap (rows top-down, a set bit white)
    // stretched by the mapping over the whole picture.
    WmfBuilder old;
    old.record(0x020C, {2, 2}).record(0x0922, {0x0020, 0x00CC, 0, 0, 2, 2, 0, 0, 0, 2, 2, 2, 0x0101, 0x0040, 0x0080});
    GraphicList list;
    list.load(FileType::Metafile, old.file(std::array{2, 2, 96}));
    const Sprite& image = *list.item(0).workingImage(0);
    EXPECT_EQ(rgbAt(image, 0, 0), rgb(0, 0, 0));
    EXPECT_EQ(rgbAt(image, 1, 0), rgb(255, 255, 255));
    EXPECT_EQ(rgbAt(image, 0, 1), rgb(255, 255, 255));
    EXPECT_EQ(rgbAt(image, 1, 1), rgb(0, 0, 0));

    // A short text record of byte characters with no rectangle.
    const Bytes chars = {'M', 'M', 'M', 0};
    const QImage text = playedEmf(EmfBuilder()
                                      .record(82, {1, -30, 0, 0, 0, 700, 0}, Bytes(64, 0))
                                      .record(37, {1})
                                      .record(108, {20, 30, 3, 0x300, 1, 0, 0}, chars));
    int inked = 0;
    for (int y = 30; y < 60; ++y)
        for (int x = 20; x < 80; ++x)
            inked += qGray(text.pixel(x, y)) < 128;
    EXPECT_GT(inked, 100);
}

TEST(Metafiles, AnyStampBecomesAMetafileWithItsTransparency)
{
    test::ensureApplication();
    // A bitmap stamp whose mask keeps only its left half, as a stamp file holds it.
    Sprite sprite;
    sprite.create(8, 8, 0, 0, 32);
    sprite.fillPixel(sprite.pixelValueForRgb(rgb(255, 0, 0)));
    Sprite& mask = sprite.ensureMask();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            mask.setPixelAt(x, y, x < 4 ? 1 : 0);
    Bytes chunk;
    ByteWriter w(&chunk);
    sprite.write(&w, SpriteWriteKind::FilmChunk, true);
    GraphicList stamps;
    stamps.load(FileType::StampFile, chunk);
    stamps.load(FileType::Metafile, redSquareOnTheLeft().file(std::array{1440, 720, 1440}));

    for (int type : {FileType::Metafile, FileType::EnhancedMetafile}) {
        SCOPED_TRACE(type);
        Bytes bitmap;
        ByteWriter out(&bitmap);
        const size_t written = saveFrameAsMetafile(stamps.item(0), 0, type, out);
        EXPECT_EQ(written, bitmap.size());
        const MetafileData m = readMetafile(bitmap);
        EXPECT_EQ(m.displayWidth, 8);
        QImage onBlue(8, 8, QImage::Format_RGB32);
        onBlue.fill(kBlue);
        {
            QPainter painter(&onBlue);
            playMetafile(m, painter, QRectF(0, 0, 8, 8));
        }
        EXPECT_EQ(onBlue.pixel(1, 4), kRed);
        EXPECT_EQ(onBlue.pixel(6, 4), kBlue) << "the masked half stays clear";

        // A metafile of the kind asked for goes out as it is; of the other kind, redrawn.
        Bytes metafile;
        ByteWriter mout(&metafile);
        saveFrameAsMetafile(stamps.item(1), 0, type, mout);
        EXPECT_EQ(readMetafile(metafile).kind, type == FileType::Metafile ? MetafileKind::Windows : MetafileKind::Enhanced);
        EXPECT_LT(meanDifference(played(readMetafile(metafile), 96, 48),
                                 spriteToImage(*stamps.item(1).workingImage(0))),
                  3.0);
    }
}
