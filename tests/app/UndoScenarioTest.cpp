// Undo as a child uses it: again and again, across frames and frame commands, after saving (the
// title's mark coming and going as the film leaves and comes back to its file), and as far back
// as the Choices allow.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "DrawingProgram.h"
#include "app/CColourPalette.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "app/FilmImport.h"
#include "base/CommandIds.h"
#include "base/Settings.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/Merge.h"
#include "film/UpdateHint.h"
#include "view/PaletteBarLayout.h"

using namespace celvane;
using test::DrawingProgram;

namespace {

void choose(DrawingProgram& p, const char* name, int value)
{
    Settings::instance().writeInt("Settings", name, value);
    p.view().document().updateAllViews(nullptr, Hint::SettingsChanged);
}

// Puts a picture of noise, which codes to about its own size, behind the current frame.
void importNoise(DrawingProgram& p)
{
    QImage noise(p.film().width(), p.film().height(), QImage::Format_Indexed8);
    noise.setColorCount(256);
    for (int i = 0; i < 256; ++i)
        noise.setColor(i, qRgb(i, 255 - i, (i * 7) & 255));
    uint32_t seed = 1;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.scanLine(y)[x] = uchar((seed = seed * 1103515245 + 12345) >> 24);
    const std::string png = p.dir.file("noise.png");
    ASSERT_TRUE(noise.save(QString::fromStdString(png)));
    ImportOptions background;
    background.asBackground = true;
    p.app.filmImport().importFile(p.view(), png, background);
}

std::string title(DrawingProgram& p) { return p.frame().windowTitle().toStdString(); }

} // namespace

TEST(UndoScenario, StrokesAndFrameCommandsUndoToTheStartAndRedoToTheEndByteForByte)
{
    DrawingProgram p;
    std::vector<Bytes> states{p.filmFile()};
    std::vector<std::string> names;
    const auto did = [&](const char* name) {
        names.push_back(name);
        states.push_back(p.filmFile());
    };
    p.drawLine({20, 20}, {60, 20});
    did("Pencil");
    p.frame().runCommand(ID_FRAME_NEW);
    did("New Frame");
    p.drawLine({20, 40}, {60, 90});
    did("Pencil");
    p.frame().runCommand(ID_FRAME_DUPLICATE);
    did("Duplicate Frame");
    p.frame().runCommand(ID_FRAME_BLANK);
    did("Blank Frame");
    p.view().goToFrame(0); // the history is the window's, not the frame's
    p.drawLine({10, 100}, {150, 100});
    did("Pencil");
    p.view().goToFrame(1);
    p.frame().runCommand(ID_FRAME_DELETE); // answered OK
    did("Delete Frame");
    ASSERT_EQ(p.film().frameCount(), 2);

    for (size_t k = names.size(); k > 0; --k) {
        SCOPED_TRACE(names[k - 1] + " taken back");
        ASSERT_TRUE(p.enabled(ID_EDIT_UNDO));
        EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo " + names[k - 1]);
        p.frame().runCommand(ID_EDIT_UNDO);
        EXPECT_EQ(p.filmFile(), states[k - 1]);
    }
    EXPECT_FALSE(p.enabled(ID_EDIT_UNDO));
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo");

    for (size_t k = 0; k < names.size(); ++k) {
        SCOPED_TRACE(names[k] + " made again");
        EXPECT_EQ(p.menuText(ID_EDIT_REDO), "&Redo " + names[k]);
        p.frame().runCommand(ID_EDIT_REDO);
        EXPECT_EQ(p.filmFile(), states[k + 1]);
    }
    EXPECT_FALSE(p.enabled(ID_EDIT_REDO));

    // A new change after some undos leaves nothing to redo.
    p.frame().runCommand(ID_EDIT_UNDO);
    p.drawLine({5, 5}, {6, 6});
    EXPECT_FALSE(p.enabled(ID_EDIT_REDO));
}

TEST(UndoScenario, SavingCopyingExportingGhostingAndPlayingKeepTheWayBack)
{
    DrawingProgram p;
    const std::string path = p.dir.file("steps.qfm");
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FRAME_NEW);
    p.view().goToFrame(0);
    p.drawLine({20, 20}, {60, 20});
    const int one = p.inked();
    p.drawLine({20, 60}, {60, 60});
    p.frame().runCommand(ID_FILE_SAVE);
    ASSERT_FALSE(p.view().document().isModified());
    const Bytes saved = readFile(path);
    p.frame().runCommand(ID_EDIT_COPY);
    test::answerExportDialog(p.dir.file("steps.gif"));
    p.frame().runCommand(ID_FILE_EXPORT);
    ASSERT_TRUE(std::filesystem::exists(p.dir.file("steps.gif")));
    p.frame().runCommand(ID_GHOSTING);
    p.frame().runCommand(ID_GHOSTING);
    // The film plays through its frames and stops on another one.
    p.frame().runCommand(ID_PLAY_FORWARDS);
    EXPECT_TRUE(test::waitUntil([&] { return p.view().currentFrame() == 1; }));
    p.frame().runCommand(ID_PLAY_STOP);
    ASSERT_TRUE(p.enabled(ID_EDIT_UNDO));
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo Pencil");

    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.view().currentFrame(), 0) << "Undo goes to the frame it changes";
    EXPECT_EQ(p.inked(), one);
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.inked(), 0);
    EXPECT_TRUE(p.view().document().isModified());
    EXPECT_EQ(readFile(path), saved);
    p.frame().runCommand(ID_EDIT_REDO);
    EXPECT_EQ(title(p), "steps.qfm * - Celvane");
    p.frame().runCommand(ID_EDIT_REDO);
    EXPECT_GT(p.inked(), one);
    // Back where it was saved, the film is as its file: the title loses its mark, and closing it
    // asks nothing.
    EXPECT_FALSE(p.view().document().isModified());
    EXPECT_EQ(title(p), "steps.qfm - Celvane");

    // So across a frame command; a colour chosen on the way keeps the mark until the colour the
    // film was saved with is chosen again.
    CColourPalette& bar = *p.app.mainFrame()->findChild<CColourPalette*>();
    const int savedInk = cellOfColourWord(*p.film().palette(), p.film().ink(), p.film().bitsPerPixel());
    p.frame().runCommand(ID_FRAME_NEW);
    EXPECT_EQ(title(p), "steps.qfm * - Celvane");
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(title(p), "steps.qfm - Celvane");
    bar.chooseCell(savedInk + 7, PaintingColour::Pencil);
    EXPECT_TRUE(p.view().document().isModified());
    p.frame().runCommand(ID_EDIT_REDO);
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(title(p), "steps.qfm * - Celvane");
    bar.chooseCell(savedInk, PaintingColour::Pencil);
    EXPECT_FALSE(p.view().document().isModified());
    EXPECT_EQ(p.filmFile(), saved);

    // A change made after undoing past the save leaves no way back to it.
    p.frame().runCommand(ID_EDIT_UNDO);
    p.drawLine({100, 100}, {120, 120});
    p.frame().runCommand(ID_EDIT_UNDO);
    p.frame().runCommand(ID_EDIT_REDO);
    EXPECT_EQ(title(p), "steps.qfm * - Celvane");
}

// A new film's blank frame is taken by the first picture brought in; undone, the film is new again.
TEST(UndoScenario, ImportingIntoANewFilmUndoesToItsBlankFrame)
{
    DrawingProgram p;
    QImage picture(100, 75, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const std::string png = p.dir.file("black.png");
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    p.app.filmImport().importFile(p.view(), png, ImportOptions{});
    EXPECT_EQ(p.film().frameCount(), 1);
    EXPECT_GT(p.inked(), 0);
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo Import");
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(p.film().isEmpty());
    EXPECT_EQ(p.inked(), 0);
    p.frame().runCommand(ID_EDIT_REDO);
    EXPECT_EQ(p.film().frameCount(), 1);
    EXPECT_GT(p.inked(), 0);
    p.app.filmImport().importFile(p.view(), png, ImportOptions{});
    EXPECT_EQ(p.film().frameCount(), 2) << "the second picture comes after the first";
}

TEST(UndoScenario, TheChoicesBoundHowFarBackItGoes)
{
    DrawingProgram p;
    choose(p, "UndoSteps", 3);
    for (int k = 0; k < 5; ++k)
        p.drawLine({10, 10 + 20 * k}, {150, 10 + 20 * k});
    const int perLine = p.inked() / 5;
    int undone = 0;
    while (p.enabled(ID_EDIT_UNDO)) {
        p.frame().runCommand(ID_EDIT_UNDO);
        ++undone;
    }
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(p.inked(), 2 * perLine) << "the two oldest strokes are past the bound";

    // A single step is each frame's one undo image: frame commands are not taken back.
    choose(p, "UndoSteps", 1);
    p.drawLine({10, 140}, {150, 140});
    p.frame().runCommand(ID_FRAME_NEW);
    EXPECT_FALSE(p.enabled(ID_EDIT_UNDO));
    EXPECT_EQ(p.film().frameCount(), 2);
}

// The memory bound drops the oldest steps first, but never the one Undo takes next: a frame of
// noise blanked out is a step larger than the megabyte allowed.
TEST(UndoScenario, TheMemoryBoundDropsTheOldestSteps)
{
    DrawingProgram p({.filmWidth = 1600, .filmHeight = 1200, .scale = 50, .window = {900, 700}});
    choose(p, "UndoMemory", 1);
    p.drawLine({10, 130}, {150, 130});
    importNoise(p);
    const Bytes noisy = p.filmFile();
    p.frame().runCommand(ID_FRAME_BLANK);
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo Blank Frame");
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.filmFile(), noisy);
    EXPECT_FALSE(p.enabled(ID_EDIT_UNDO)) << "the import and the stroke before it were past the bound";
}

// A frame command keeps only the frames it takes away: on a film far larger than the memory
// bound, every command stays and goes back byte for byte.
TEST(UndoScenario, FrameCommandsOnALargeFilmKeepOnlyWhatTheyChange)
{
    DrawingProgram p({.filmWidth = 800, .filmHeight = 600, .scale = 50, .window = {900, 700}});
    choose(p, "UndoMemory", 1);
    importNoise(p);
    std::vector<Bytes> states{p.filmFile()};
    std::vector<std::string> names;
    const auto command = [&](int id, const char* name) {
        p.frame().runCommand(id);
        names.push_back(name);
        states.push_back(p.filmFile());
    };
    for (int k = 0; k < 3; ++k)
        command(ID_FRAME_DUPLICATE, "Duplicate Frame");
    ASSERT_GT(states.back().size(), size_t(1) << 20) << "the film is larger than the whole bound";
    command(ID_FRAME_NEW, "New Frame");
    p.drawLine({10, 130}, {150, 130});
    names.push_back("Pencil");
    states.push_back(p.filmFile());
    command(ID_FRAME_DELETE, "Delete Frame");
    command(ID_FRAME_DUPLICATE, "Duplicate Frame");

    for (size_t k = names.size(); k > 0; --k) {
        SCOPED_TRACE(names[k - 1]);
        ASSERT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo " + names[k - 1]);
        p.frame().runCommand(ID_EDIT_UNDO);
        EXPECT_EQ(p.filmFile(), states[k - 1]);
    }
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo Import");
    for (size_t k = 0; k < names.size(); ++k) {
        SCOPED_TRACE(names[k]);
        p.frame().runCommand(ID_EDIT_REDO);
        EXPECT_EQ(p.filmFile(), states[k + 1]);
    }
}
