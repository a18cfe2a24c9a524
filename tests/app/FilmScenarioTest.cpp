// What a person does to a film, from the mouse to the saved file, checked as the person would
// see it: on the screen, in the frames they step to, and in the file they open again.

#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <functional>

#include "../export/GifTestSupport.h"
#include "../film/FilmTestSupport.h"
#include "DrawingProgram.h"
#include "app/CColourPalette.h"
#include "base/ByteIO.h"
#include "base/CommandIds.h"
#include "base/Settings.h"
#include "base/StringTable.h"
#include "film/CelvaneDoc.h"
#include "gfx/Colour.h"
#include "view/tools/SnapshotTool.h"

using namespace celvane;
using test::DrawingProgram;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

uint32_t rgbAt(Film& film, int frame, int x, int y)
{
    Sprite picture;
    film.decodeFrameInto(frame, picture);
    return (picture.colourWordOf(picture.pixelAt(x, y)) >> 8) & 0xFFFFFF;
}

} // namespace

TEST(FilmScenario, UndoAndRestoreGoBackAfterWhateverStoresTheFrame)
{
    DrawingProgram p;
    // A teacher's choice of a single step: each frame's one undo image.
    Settings::instance().writeInt("Settings", "UndoSteps", 1);
    p.view().document().updateAllViews(nullptr, Hint::SettingsChanged);
    // Copying a new film's blank frame is no change to save.
    p.frame().runCommand(ID_EDIT_COPY);
    EXPECT_FALSE(p.view().document().isModified());
    p.frame().runCommand(ID_FRAME_NEW); // a neighbour, so that ghosting has something to blend
    const std::string film = p.dir.file("walk.qfm");
    p.chooser.paths.push_back(film);
    const std::vector<std::pair<const char*, std::function<void()>>> stores = {
        {"save", [&] { p.frame().runCommand(ID_FILE_SAVE); }},
        {"copy", [&] { p.frame().runCommand(ID_EDIT_COPY); }},
        {"export", [&] {
             test::answerExportDialog(p.dir.file("walk.gif"), false);
             p.frame().runCommand(ID_FILE_EXPORT);
         }},
        {"ghosting", [&] {
             p.frame().runCommand(ID_GHOSTING);
             p.shown({0, 0}); // the blend is built when the window shows it
             p.frame().runCommand(ID_GHOSTING);
         }},
    };
    for (const auto& [name, store] : stores) {
        SCOPED_TRACE(name);
        // Draw, store, undo: the drawing goes and can come back.
        p.drawLine({20, 20}, {60, 20});
        const int drawn = p.inked();
        ASSERT_GT(drawn, 0);
        store();
        ASSERT_TRUE(p.enabled(ID_EDIT_UNDO));
        p.frame().runCommand(ID_EDIT_UNDO);
        EXPECT_EQ(p.inked(), 0);
        EXPECT_TRUE(p.enabled(ID_EDIT_REDO));
        EXPECT_FALSE(p.enabled(ID_EDIT_UNDO));
        p.frame().runCommand(ID_EDIT_REDO);
        EXPECT_EQ(p.inked(), drawn);

        // Two drawings with a store between them: Restore goes back before both.
        store();
        p.drawLine({20, 80}, {60, 80});
        store();
        ASSERT_TRUE(p.enabled(ID_EDIT_RESTORE));
        p.frame().runCommand(ID_EDIT_RESTORE);
        EXPECT_EQ(p.inked(), 0);
        EXPECT_FALSE(p.enabled(ID_EDIT_RESTORE));
        p.frame().runCommand(ID_EDIT_REDO);
        EXPECT_GT(p.inked(), drawn) << "Redo after Restore brings both drawings back";

        // Stepping away and back leaves the frame as it now is, with no way back.
        p.view().goToFrame(0);
        p.view().goToFrame(1);
        EXPECT_GT(p.inked(), drawn);
        EXPECT_FALSE(p.enabled(ID_EDIT_UNDO));
        p.frame().runCommand(ID_FRAME_BLANK);
        p.view().goToFrame(0);
        p.view().goToFrame(1);
    }
    // The film on disk holds what was there at its last save, and the window says it changed since.
    EXPECT_TRUE(p.view().document().isModified());
}

TEST(FilmScenario, ASnapshotSentToTheFilmStaysInTheFilm)
{
    DrawingProgram p;
    p.drawLine({20, 30}, {80, 30});
    const int line = p.inked();
    p.app.toolBox().select(ToolBox::Snapshot, true);
    p.drag({10, 20}, {100, 40});
    ASSERT_EQ(p.film().frameCount(), 2);
    EXPECT_EQ(p.view().currentFrame(), 1);
    EXPECT_EQ(p.inked(), line);

    // Step away and back: the copy is still there; saved and opened again, too.
    p.view().goToFrame(0);
    p.view().goToFrame(1);
    EXPECT_EQ(p.inked(), line);
    p.chooser.paths.push_back(p.dir.file("snap.qfm"));
    p.frame().runCommand(ID_FILE_SAVE);
    CCelvaneDoc reopened;
    reopened.open(p.dir.file("snap.qfm"));
    ASSERT_EQ(reopened.film()->frameCount(), 2);
    EXPECT_EQ(rgbAt(*reopened.film(), 1, 50, 30), kBlack);
    EXPECT_EQ(rgbAt(*reopened.film(), 1, 50, 50), kWhite);
}

TEST(FilmScenario, TheSnapshotSnapsToALockedGridAndGrabsFromTheClipboard)
{
    DrawingProgram p;
    p.image().fillPixel(p.ink());
    p.film().markCurrentModified();
    p.view().grid().lock = true;
    p.view().grid().xSpacing = p.view().grid().ySpacing = 40; // points every 10 pixels
    p.app.toolBox().select(ToolBox::Snapshot, true);
    p.drag({13, 13}, {47, 47});
    ASSERT_EQ(p.film().frameCount(), 2);
    EXPECT_EQ(p.inked(), 40 * 40);

    // "Grab from clipboard" sends the copied frame to the film, as Paste does.
    p.frame().runCommand(ID_EDIT_COPY);
    QPushButton* grab = nullptr;
    for (QPushButton* b : p.frame().findChildren<QPushButton*>())
        if (b->text() == "Grab from clipboard")
            grab = b;
    ASSERT_NE(grab, nullptr);
    EXPECT_TRUE(grab->isEnabled());
    grab->click();
    ASSERT_EQ(p.film().frameCount(), 3);
    EXPECT_EQ(p.view().currentFrame(), 2);
    EXPECT_EQ(p.inked(), 40 * 40);
}

TEST(FilmScenario, GhostingNeverShowsADeletedFrame)
{
    DrawingProgram p;
    p.frame().runCommand(ID_MOTION_TO_END); // no wrapping: the neighbours stay the same after deleting
    // Three frames, each with a line of its own.
    p.drawLine({20, 20}, {60, 20});
    p.frame().runCommand(ID_FRAME_NEW);
    p.drawLine({20, 60}, {60, 60});
    p.frame().runCommand(ID_FRAME_NEW);
    p.drawLine({20, 100}, {60, 100});
    p.view().goToFrame(1);
    p.frame().runCommand(ID_GHOSTING);
    EXPECT_EQ(p.shown({40, 60}), kBlack);
    EXPECT_NE(p.shown({40, 20}), kWhite) << "the frame before shows faintly";

    // Delete the middle frame: the window shows the last frame over the first, and nothing of
    // the deleted one.
    p.frame().runCommand(ID_FRAME_DELETE);
    ASSERT_EQ(p.film().frameCount(), 2);
    EXPECT_EQ(p.shown({40, 60}), kWhite);
    EXPECT_EQ(p.shown({40, 100}), kBlack);
    EXPECT_NE(p.shown({40, 20}), kWhite);

    // Cut the last one too: only the first frame is left, drawn solid.
    p.frame().runCommand(ID_EDIT_CUT);
    ASSERT_EQ(p.film().frameCount(), 1);
    EXPECT_EQ(p.shown({40, 100}), kWhite);
    EXPECT_EQ(p.shown({40, 20}), kBlack);
}

TEST(FilmScenario, ExportingTheSelectionWritesTheMarkedFramesOnly)
{
    DrawingProgram p;
    // Three frames with a line each, at 20, 60 and 100; the first and last are marked.
    p.drawLine({20, 20}, {60, 20});
    p.frame().runCommand(ID_FRAME_NEW);
    p.drawLine({20, 60}, {60, 60});
    p.frame().runCommand(ID_FRAME_NEW);
    p.drawLine({20, 100}, {60, 100});
    p.film().setFrameSelected(0, true);
    p.film().setFrameSelected(2, true);

    test::answerExportDialog(p.dir.file("marked.gif"), true);
    p.frame().runCommand(ID_FILE_EXPORT);
    const test::GiflibAnimation gif = test::giflibDecode(readFile(p.dir.file("marked.gif")));
    ASSERT_EQ(gif.frames.size(), 2u);
    const auto at = [&](size_t frame, int x, int y) { return gif.frames[frame][size_t(y * gif.width + x)]; };
    EXPECT_EQ(at(0, 40, 20), kBlack);
    EXPECT_EQ(at(1, 40, 60), kWhite) << "the unmarked frame is not written";
    EXPECT_EQ(at(1, 40, 100), kBlack);

    if (test::runCommand("command -v ffprobe >/dev/null") != 0)
        GTEST_SKIP() << "no ffprobe to count video frames";
    const auto videoFrames = [&](const std::string& name) {
        test::answerExportDialog(p.dir.file(name), true);
        p.frame().runCommand(ID_FILE_EXPORT);
        std::string count;
        test::runCommand("ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames "
                         "-of csv=p=0 " + p.dir.file(name), &count);
        return count;
    };
    EXPECT_EQ(videoFrames("marked.mp4"), "2\n");
    EXPECT_EQ(videoFrames("whole.avi"), "3\n") << "an AVI always holds the whole film";
}

TEST(FilmScenario, AFilmOfNoFramesFromAnotherCoderKeepsWhatIsDrawnOnIt)
{
    DrawingProgram p;
    const std::string path = p.dir.file("empty.qfm");
    test::writeBytes(path, test::emptyFilmFile(200, 150, 8, 1));
    ASSERT_NE(p.app.openDocument(path), nullptr);
    p.drawLine({20, 20}, {120, 20});
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_SAVE);

    CCelvaneDoc reopened;
    reopened.open(path);
    ASSERT_EQ(reopened.film()->frameCount(), 1);
    EXPECT_EQ(rgbAt(*reopened.film(), 0, 70, 20), kBlack);
    EXPECT_EQ(rgbAt(*reopened.film(), 0, 70, 100), kWhite);
}

TEST(FilmScenario, FilmsFromTruecolourPicturesKeepPaperAndInk)
{
    DrawingProgram p;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(qRgb(200, 30, 40));
    ASSERT_TRUE(picture.save(QString::fromStdString(p.dir.file("red.png"))));
    ASSERT_TRUE(picture.save(QString::fromStdString(p.dir.file("red.jpg"))));
    Sprite deep;
    deep.create(40, 30, 0, 0, 16);
    deep.fillColour(rgbToColourWord(0x2020C0, 0));
    test::writeBytes(p.dir.file("red16.bmp"), [&] {
        Bytes file;
        ByteWriter out(&file);
        deep.write(&out, SpriteWriteKind::Bitmap, true);
        return file;
    }());

    for (const char* name : {"red.png", "red.jpg", "red16.bmp"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(p.app.openDocument(p.dir.file(name)), nullptr);
        EXPECT_EQ(rgbOfWord(p.film().paper()), kWhite);
        EXPECT_EQ(rgbOfWord(p.film().ink()), kBlack);
        // A new frame is blank paper, on the screen and after saving and opening again.
        p.frame().runCommand(ID_FRAME_NEW);
        EXPECT_EQ(p.shown({20, 15}), kWhite);
        const std::string saved = p.dir.file(std::string(name) + ".qfm");
        p.chooser.paths.push_back(saved);
        p.frame().runCommand(ID_FILE_SAVE);
        CCelvaneDoc reopened;
        reopened.open(saved);
        EXPECT_EQ(rgbOfWord(reopened.film()->paper()), kWhite);
        EXPECT_EQ(rgbOfWord(reopened.film()->ink()), kBlack);
        EXPECT_EQ(rgbAt(*reopened.film(), 1, 20, 15), kWhite);
        EXPECT_NE(rgbAt(*reopened.film(), 0, 20, 15), kWhite);
    }
}

TEST(FilmScenario, AFilmFromAFewColourGifOffersEveryColourOfItsDepth)
{
    DrawingProgram p;
    test::writeBytes(p.dir.file("three.gif"),
                     test::GifBuilder(4, 2, {0x0000FF, 0x00FF00, 0xFF0000}).image(0, 0, 4, 2, {0, 1, 2, 0, 1, 2, 0, 1}).finish());
    ASSERT_NE(p.app.openDocument(p.dir.file("three.gif")), nullptr);
    ASSERT_EQ(p.film().bitsPerPixel(), 8);
    EXPECT_EQ(p.film().palette()->count(), 256);
    EXPECT_EQ(rgbOfWord(p.film().palette()->entry(1)), 0x00FF00u) << "the picture's own colours come first";

    // The palette bar takes a colour past the picture's three.
    p.frame().runCommand(ID_VIEW_PALETTE);
    CColourPalette& bar = *p.frame().findChild<CColourPalette*>();
    const Rect cell = bar.layout().cellRect(200);
    const QPointF at((cell.left + cell.right) / 2 + 0.5, (cell.top + cell.bottom) / 2 + 0.5);
    QMouseEvent press(QEvent::MouseButtonPress, at, bar.surface()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bar.surface(), &press);
    EXPECT_EQ(indexOfWord(p.film().ink()), 200);
}

TEST(FilmScenario, AFilmCutShortInItsSoundsOpensItsFramesAndSaysTheRestIsMissing)
{
    const auto waves = test::corpusDir("wav") / "wavefile-valid";
    CELVANE_REQUIRE_CORPUS(waves);
    test::TempDir dir;
    const std::string whole = dir.file("whole.qfm"), cut = dir.file("cut.qfm");
    ASSERT_EQ(test::runTool("new --width 40 --height 30 --depth 8 --frames 3 " + whole).status, 0);
    ASSERT_EQ(test::runTool("sound " + whole + " 1 " + (waves / "mono_pcm_16_44100.wav").string() + " -o " + whole).status, 0);
    // Cut inside the sounds, which follow the frames.
    Bytes data = readFile(whole);
    data.resize(data.size() - 200);
    writeFileAtomically(cut, data);

    test::StartedProgram p({.arguments = {QString::fromStdString(cut)}});
    ASSERT_EQ(p.sink.shown.size(), 1u);
    EXPECT_EQ(p.sink.shown[0], loadString(IDS_FILM_END_DAMAGED));
    EXPECT_EQ(p.view().film()->frameCount(), 3);
    EXPECT_EQ(p.frame().windowTitle().toStdString().find("cut.qfm"), 0u);
}
