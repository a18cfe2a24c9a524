// Bitmaps made by other programs: opened, imported and pasted with the pixels Qt's own reader
// sees, and damaged ones refused in the program's words.

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <filesystem>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/CommandIds.h"
#include "base/StringTable.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "film/Merge.h"
#include "gfx/Colour.h"
#include "gfx/DibLayout.h"
#include "platform/FrameClipboard.h"
#include "view/CCelvaneView.h"

using namespace celvane;
namespace fs = std::filesystem;

namespace {

QImage qtImage(const Bytes& file)
{
    return QImage::fromData(reinterpret_cast<const uchar*>(file.data()), int(file.size()), "BMP");
}

// Pixels that differ from the picture by more than `tolerance` in any channel.
int differences(const Sprite& frame, const QImage& picture, int tolerance = 0)
{
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const uint32_t ours = rgbOfWord(frame.colourWordOf(frame.pixelAt(x, y)));
            const QRgb theirs = picture.pixel(x, y);
            wrong += std::abs(redOf(ours) - qRed(theirs)) > tolerance || std::abs(greenOf(ours) - qGreen(theirs)) > tolerance
                || std::abs(blueOf(ours) - qBlue(theirs)) > tolerance;
        }
    return wrong;
}

void putOnClipboard(QMimeData* data)
{
    QGuiApplication::clipboard()->setMimeData(data);
    QGuiApplication::processEvents();
}

// Merges what the clipboard holds into `doc` after frame `frame`, as Paste does.
int paste(CCelvaneDoc& doc, int frame)
{
    const auto contents = FrameClipboard::take();
    EXPECT_TRUE(contents);
    if (!contents)
        return frame;
    GraphicList pasted;
    pasted.load(contents->fileType, contents->data);
    return mergeFrames(*doc.graphics(), frame, pasted, ImageInfo{});
}

} // namespace

TEST(Bitmaps, EveryGoodFileOpensImportsAndPastesWithTheRightPixels)
{
    const fs::path folder = test::corpusDir("bmp/g");
    CELVANE_REQUIRE_CORPUS(folder);
    test::ensureApplication();
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        const Bytes file = readFile(path);
        const QImage judge = qtImage(file);
        ASSERT_FALSE(judge.isNull());
        // Qt shifts 5- and 6-bit channel masks up without filling the low bits (full red reads
        // 248), where we spread them over the whole range: they differ by up to 7.
        const int tolerance = loadLE16(&file[28]) == 16 ? 7 : 0;

        CCelvaneDoc opened;
        opened.open(path);
        Film& film = *opened.film();
        ASSERT_EQ(film.frameCount(), 1);
        EXPECT_EQ(differences(*film.workingImage(0), judge, tolerance), 0);
        if (loadLE16(&file[28]) == 24) {
            EXPECT_EQ(film.bitsPerPixel(), 32);
        }

        // Into a film of millions of colours the size of the picture, by Import and by Paste.
        CCelvaneDoc doc;
        doc.newDocument(ImageInfo::forFilm(judge.width(), judge.height(), 32));
        GraphicList imported;
        imported.load(FileType::Bitmap, file);
        EXPECT_EQ(mergeFrames(*doc.graphics(), 0, imported, ImageInfo{}), 0); // the new film's blank frame
        auto* data = new QMimeData;
        data->setData("image/bmp", QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size())));
        putOnClipboard(data);
        EXPECT_EQ(paste(doc, 0), 1);
        // The same without its file header, as a packed DIB.
        data = new QMimeData;
        data->setData("image/bmp", QByteArray(reinterpret_cast<const char*>(file.data()) + kFileHeaderSize,
                                              qsizetype(file.size() - kFileHeaderSize)));
        putOnClipboard(data);
        EXPECT_EQ(paste(doc, 1), 2);
        for (int f : {0, 1, 2})
            EXPECT_EQ(differences(*doc.film()->workingImage(f), judge.convertToFormat(QImage::Format_RGB32), tolerance), 0)
                << "frame " << f;
        ++files;
    }
    EXPECT_EQ(files, 23);
}

TEST(Bitmaps, DamagedFilesAreRefusedInTheLoadingMessageOrOpenWhenHarmless)
{
    const fs::path folder = test::corpusDir("bmp");
    CELVANE_REQUIRE_CORPUS(folder);
    int refused = 0;
    for (const char* kind : {"b", "q", "other"})
        for (const auto& entry : fs::directory_iterator(folder / kind)) {
            SCOPED_TRACE(entry.path().string());
            CCelvaneDoc doc;
            try {
                doc.open(entry.path().string());
                EXPECT_EQ(doc.film()->frameCount(), 1);
            } catch (const Error& e) {
                // A bitmap the reader cannot take is no unknown kind of file.
                EXPECT_EQ(e.userMessage(), loadString(IDS_CANNOT_LOAD_TYPE)) << e.what();
                refused += std::string(kind) == "b";
            }
        }
    // The fields a reader may ignore (sizes, densities, indices past the table) are all that
    // opens of the malformed files.
    EXPECT_EQ(refused, 9);
}

TEST(Bitmaps, ATwentyFourBitPictureOpensAsMillionsOfColoursSavesAndReopens)
{
    const fs::path corpus = test::corpusDir("bmp/g");
    CELVANE_REQUIRE_CORPUS(corpus);
    test::StartedProgram p;
    const std::string bmp = p.dir.file("rgb24.bmp");
    fs::copy_file(corpus / "rgb24.bmp", bmp);
    const QImage judge = qtImage(readFile(bmp));

    p.chooser.paths.push_back(bmp);
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_TRUE(p.sink.shown.empty()) << p.sink.shown.front();
    EXPECT_EQ(p.view().film()->bitsPerPixel(), 32);
    EXPECT_EQ(differences(*p.view().film()->workingImage(0), judge), 0);

    // A picture copied in another program pastes after the current frame: 24 and 32 bits.
    QImage rgb888(20, 10, QImage::Format_RGB888);
    rgb888.fill(QColor(10, 200, 30));
    rgb888.setPixelColor(3, 4, QColor(250, 5, 128));
    QImage argb(judge.size(), QImage::Format_ARGB32);
    argb.fill(QColor(40, 50, 60));
    argb.setPixelColor(0, 0, QColor(0, 0, 0, 0)); // transparent: shows white paper
    for (const QImage& copied : {rgb888, argb}) {
        auto* data = new QMimeData;
        data->setImageData(copied);
        putOnClipboard(data);
        p.frame().runCommand(ID_EDIT_PASTE);
    }
    Film& film = *p.view().film();
    ASSERT_EQ(film.frameCount(), 3);
    EXPECT_EQ(p.view().currentFrame(), 2);
    const Sprite& last = *film.workingImage(2);
    EXPECT_EQ(rgbOfWord(last.colourWordOf(last.pixelAt(5, 5))), rgb(40, 50, 60));
    EXPECT_EQ(rgbOfWord(last.colourWordOf(last.pixelAt(0, 0))), rgb(255, 255, 255));
    // The smaller picture is stretched over the frame: its odd pixel lands in proportion.
    const Sprite& middle = *film.workingImage(1);
    const int sx = 3 * film.width() / 20 + 1, sy = 4 * film.height() / 10 + 1;
    EXPECT_EQ(rgbOfWord(middle.colourWordOf(middle.pixelAt(sx, sy))), rgb(250, 5, 128));

    // A PNG that another program offers pastes too.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    rgb888.save(&buffer, "PNG");
    auto* data = new QMimeData;
    data->setData("image/png", png);
    putOnClipboard(data);
    p.frame().runCommand(ID_EDIT_PASTE);
    EXPECT_EQ(film.frameCount(), 4);

    // Saved as a film and opened again: the picture is still the picture.
    p.chooser.paths.push_back(p.dir.file("rgb24.qfm")); // should the program ask where
    p.frame().runCommand(ID_FILE_SAVE);
    ASSERT_TRUE(fs::exists(p.dir.file("rgb24.qfm")));
    p.frame().runCommand(ID_FILE_NEW);
    p.chooser.paths.push_back(p.dir.file("rgb24.qfm"));
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.view().film()->frameCount(), 4);
    EXPECT_EQ(p.view().film()->bitsPerPixel(), 32);
    EXPECT_EQ(differences(*p.view().film()->workingImage(0), judge), 0);
    EXPECT_TRUE(p.sink.shown.empty());
}

TEST(Bitmaps, ImportingMillionsOfColoursIntoAShallowerFilmKeepsTheDrawingAndTakesTheNearestColours)
{
    const fs::path corpus = test::corpusDir("bmp/g");
    CELVANE_REQUIRE_CORPUS(corpus);
    test::StartedProgram p({.filmWidth = 127, .filmHeight = 64, .window = {800, 600}});
    Film& film = *p.view().film();
    ASSERT_EQ(film.bitsPerPixel(), 8);

    // A line drawn on the new film's only frame with the mouse.
    QWidget* port = p.view().viewport();
    auto mouse = [&](QEvent::Type type, Point at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        const Point c = p.view().layout().frameToClient(at, false);
        QMouseEvent event(type, QPointF(c.x, c.y), port->mapToGlobal(QPointF(c.x, c.y)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(port, &event);
    };
    mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {50, 10}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {50, 10}, Qt::LeftButton, Qt::NoButton);
    const uint32_t ink = film.workingImage(0)->pixelValueOf(film.ink());
    ASSERT_EQ(film.workingImage(0)->pixelAt(30, 10), ink);

    const std::string bmp = (corpus / "rgb24.bmp").string();
    const QImage judge = qtImage(readFile(bmp));
    p.app.filmImport().importFile(p.view(), bmp, ImportOptions{});
    ASSERT_EQ(film.frameCount(), 2);
    EXPECT_EQ(p.view().currentFrame(), 1);
    const Sprite& frame = *film.workingImage(1);
    int wrong = 0;
    for (int y = 0; y < judge.height(); ++y)
        for (int x = 0; x < judge.width(); ++x) {
            const QRgb c = judge.pixel(x, y);
            wrong += frame.pixelAt(x, y) != frame.pixelValueForRgb(rgb(qRed(c), qGreen(c), qBlue(c)));
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(film.workingImage(0)->pixelAt(30, 10), ink) << "the drawing is kept";
}
