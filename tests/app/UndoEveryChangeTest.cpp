// Every tool and command a child changes a film with, each one step of the window's history
// (choosing colours is none):
// Undo gives back the film as it was, byte for byte, Redo the film as it became, the Edit menu
// names the step, and the window says the film changed whenever it differs from its file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "DrawingProgram.h"
#include "PickerSteps.h"
#include "app/CColourPalette.h"
#include "app/CelvaneApp.h"
#include "app/CMainFrame.h"
#include "app/ColourEditor.h"
#include "app/CStampPicker.h"
#include "app/FilmImport.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CSoundPicker.h"
#include "base/CommandIds.h"
#include "film/CelvaneDoc.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "playback/CFadeOptionsDialog.h"

using namespace celvane;
using test::DrawingProgram;

namespace {

// Changes made one after another, then all taken back and all made again through the Edit menu.
class Walk {
public:
    explicit Walk(DrawingProgram& p) : p_(p)
    {
        p_.chooser.paths.push_back(p_.dir.file("walk.qfm"));
        p_.frame().runCommand(ID_FILE_SAVE);
        saved_ = p_.filmFile();
    }

    // `change` is one step called `name`.
    void step(const std::string& name, const std::function<void()>& change)
    {
        SCOPED_TRACE(name);
        Bytes before = p_.filmFile();
        change();
        EXPECT_EQ(p_.menuText(ID_EDIT_UNDO), "&Undo " + name);
        EXPECT_FALSE(p_.enabled(ID_EDIT_REDO));
        EXPECT_NE(p_.filmFile(), before) << "the step changed nothing";
        checkModified();
        steps_.push_back({name, std::move(before)});
    }
    // `action` changes nothing, and leaves the way back as it was.
    void noStep(const std::string& what, const std::function<void()>& action)
    {
        SCOPED_TRACE(what);
        const Bytes before = p_.filmFile();
        const std::string undo = p_.menuText(ID_EDIT_UNDO);
        action();
        EXPECT_EQ(p_.filmFile(), before);
        EXPECT_EQ(p_.menuText(ID_EDIT_UNDO), undo);
    }

    void backAndForth()
    {
        std::vector<Bytes> undoneFrom(steps_.size());
        for (size_t k = steps_.size(); k > 0; --k) {
            const Step& s = steps_[k - 1];
            SCOPED_TRACE(s.name + " taken back");
            ASSERT_EQ(p_.menuText(ID_EDIT_UNDO), "&Undo " + s.name);
            undoneFrom[k - 1] = p_.filmFile();
            p_.frame().runCommand(ID_EDIT_UNDO);
            EXPECT_EQ(p_.filmFile(), s.before);
            checkModified();
        }
        EXPECT_FALSE(p_.enabled(ID_EDIT_UNDO));
        for (size_t k = 0; k < steps_.size(); ++k) {
            SCOPED_TRACE(steps_[k].name + " made again");
            ASSERT_EQ(p_.menuText(ID_EDIT_REDO), "&Redo " + steps_[k].name);
            p_.frame().runCommand(ID_EDIT_REDO);
            EXPECT_EQ(p_.filmFile(), undoneFrom[k]);
            checkModified();
        }
        EXPECT_FALSE(p_.enabled(ID_EDIT_REDO));
    }

private:
    struct Step {
        std::string name;
        Bytes before;
    };
    // Closing a film that differs from its file must offer to save it.
    void checkModified()
    {
        if (p_.filmFile() != saved_) {
            EXPECT_TRUE(p_.view().document().isModified());
        }
    }

    DrawingProgram& p_;
    Bytes saved_;
    std::vector<Step> steps_;
};

void click(DrawingProgram& p, int tool, Point at)
{
    p.app.toolBox().select(tool, true);
    p.drag(at, at);
}

} // namespace

TEST(UndoEveryChange, DrawingToolsSnapshotsAndRestore)
{
    DrawingProgram p;
    Walk walk(p);
    walk.step("Pencil", [&] { p.drawLine({20, 75}, {180, 75}); });
    walk.step("Stamp", [&] {
        CStampPicker& picker = test::chooseStampsOfBarFolder(p);
        QTest::mouseClick(picker.window().entriesWidget(), Qt::LeftButton, {}, test::iconCentre(picker.window(), 0));
        p.drag({60, 30}, {60, 30});
    });
    walk.noStep("a click of the text tool with nothing typed", [&] {
        p.frame().runCommand(ID_TOOL_TEXT);
        p.drag({120, 110}, {120, 110});
    });
    walk.step("Text", [&] {
        QTest::keyClicks(&p.view(), "Hi");
        p.drag({120, 110}, {120, 110});
    });
    walk.step("Eraser", [&] {
        p.app.toolBox().select(ToolBox::Eraser, true);
        p.drag({40, 75}, {80, 75});
    });
    walk.noStep("a click of the pipette and the zoom", [&] {
        click(p, ToolBox::Pipette, {60, 30});
        click(p, ToolBox::Zoom, {60, 30});
    });
    walk.step("Snapshot", [&] {
        p.app.toolBox().select(ToolBox::Snapshot, true);
        p.drag({10, 60}, {190, 90});
    });
    ASSERT_EQ(p.view().currentFrame(), 1);
    walk.step("Fill", [&] { click(p, ToolBox::FloodFill, {100, 20}); });
    walk.noStep("filling what is filled already", [&] { click(p, ToolBox::FloodFill, {100, 20}); });
    walk.step("Restore", [&] { p.frame().runCommand(ID_EDIT_RESTORE); });
    walk.backAndForth();
}

TEST(UndoEveryChange, FrameCommandsPastesImportsAndSounds)
{
    DrawingProgram p;
    Walk walk(p);
    walk.step("New Frame", [&] { p.frame().runCommand(ID_FRAME_NEW); });
    walk.step("Pencil", [&] { p.drawLine({20, 75}, {180, 75}); });
    walk.noStep("Copy", [&] { p.frame().runCommand(ID_EDIT_COPY); });
    walk.step("Paste", [&] { p.frame().runCommand(ID_EDIT_PASTE); });
    walk.step("Paste", [&] {
        QImage picture(50, 40, QImage::Format_RGB32);
        picture.fill(Qt::black);
        QGuiApplication::clipboard()->setImage(picture);
        p.frame().runCommand(ID_EDIT_PASTE);
    });
    walk.step("Import", [&] {
        QImage picture(100, 75, QImage::Format_RGB32);
        picture.fill(Qt::black);
        const std::string png = p.dir.file("picture.png");
        ASSERT_TRUE(picture.save(QString::fromStdString(png)));
        p.app.filmImport().importFile(p.view(), png, ImportOptions{});
    });
    walk.step("Colours", [&] {
        // The film's colours in the opposite order.
        PaletteRef colours = PaletteRef::make();
        const Palette& own = *p.film().palette();
        colours->setCount(own.count());
        for (int i = 0; i < own.count(); ++i)
            colours->setEntry(i, own.entry(own.count() - 1 - i));
        Bytes file;
        ByteWriter out(&file);
        colours->writePalFile(&out);
        const std::string pal = p.dir.file("colours.pal");
        test::writeBytes(pal, file);
        p.app.filmImport().importFile(p.view(), pal, ImportOptions{});
    });
    walk.step("Blank Frame", [&] { p.frame().runCommand(ID_FRAME_BLANK); });
    walk.step("Sound", [&] {
        CSoundPicker& picker = p.frame().soundPicker();
        picker.window().showPicker();
        QTest::mouseClick(picker.window().entriesWidget(), Qt::LeftButton, {}, test::iconCentre(picker.window(), 2));
        picker.putInFrame();
    });
    const auto markFrames = [&](std::initializer_list<int> frames) {
        for (int frame : frames) {
            p.view().goToFrame(frame);
            p.frame().runCommand(ID_FRAME_MARK);
        }
    };
    walk.step("Cut", [&] {
        markFrames({1, 3});
        p.frame().runCommand(ID_EDIT_CUT);
    });
    walk.step("Delete Frames", [&] {
        markFrames({0, 1});
        p.frame().runCommand(ID_FRAME_DELETE);
    });
    // A film has one window: opened again, that window comes up, its history whole.
    EXPECT_EQ(p.app.openDocument(p.view().document().pathName()), &p.view().document());
    EXPECT_EQ(p.frame().views().size(), 1u);
    walk.backAndForth();
}

TEST(UndoEveryChange, SpeedTransitionsAndPaletteEditsAreStepsOfTheirOwn)
{
    DrawingProgram p;
    CColourPalette& bar = *p.app.mainFrame()->findChild<CColourPalette*>();
    Walk walk(p);
    walk.step("New Frame", [&] { p.frame().runCommand(ID_FRAME_NEW); });
    walk.step("Speed", [&] { p.frame().runCommand(ID_DELAY_1 + 2); });
    walk.step("Transition", [&] {
        QTimer::singleShot(0, [] {
            auto* dialog = dynamic_cast<CFadeOptionsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QComboBox*>("kind")->setCurrentIndex(FrameFade::Wipe);
            dialog->accept();
        });
        p.frame().runCommand(ID_FADE_PAUSE);
    });
    walk.step("Motion", [&] { p.frame().runCommand(ID_TOGGLE_YOYO); });
    walk.step("Pencil", [&] { p.drawLine({20, 75}, {180, 75}); });
    // So is every number typed into the colour editor, until something else is done.
    walk.step("Colour", [&] {
        bar.openEditor(PaintingColour::Pencil);
        ColourEditor& editor = *bar.editor();
        for (const char* channel : {"red", "green", "blue"})
            editor.findChild<QSpinBox*>(channel)->setValue(200);
        editor.close();
    });
    EXPECT_EQ(p.film().palette()->colourOfIndex(indexOfWord(p.film().ink())) & 0xFFFFFF, 0xC8C8C8u);
    walk.step("Speed", [&] { p.frame().runCommand(ID_DELAY_1 + 5); });
    walk.step("Duplicate Frame", [&] { p.frame().runCommand(ID_FRAME_DUPLICATE); });
    walk.backAndForth();
}

// Choosing the pencil or paper colour, from the bar or with the pipette, is a choice and no step:
// Undo and Redo go past it and leave it as chosen, on palette films (whose chosen colours follow
// the palette as its edits are taken back) and deep films alike.
TEST(UndoEveryChange, ChoosingColoursIsNoStepAndUndoLeavesThemAlone)
{
    DrawingProgram p;
    CColourPalette& bar = *p.app.mainFrame()->findChild<CColourPalette*>();
    const auto pipette = [](DrawingProgram& on, Point at) {
        on.app.toolBox().select(ToolBox::Pipette, true);
        on.drag(at, at);
    };
    p.drawLine({20, 75}, {180, 75});
    p.frame().runCommand(ID_DELAY_1 + 2);
    p.frame().runCommand(ID_FRAME_NEW);
    const uint32_t blank = p.image().pixelAt(5, 5);
    bar.chooseCell(40, PaintingColour::Pencil);
    bar.chooseCell(50, PaintingColour::Paper);
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo New Frame");
    pipette(p, {5, 5});
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo New Frame");
    const PaintingChoice chosen = p.film().paintingChoice();
    EXPECT_EQ(uint32_t(indexOfWord(p.film().ink())), blank);
    EXPECT_EQ(indexOfWord(p.film().paper()), 50);

    for (const char* step : {"New Frame", "Speed", "Pencil"}) {
        EXPECT_EQ(p.menuText(ID_EDIT_UNDO), std::string("&Undo ") + step);
        p.frame().runCommand(ID_EDIT_UNDO);
        EXPECT_EQ(p.film().paintingChoice(), chosen) << step;
    }
    EXPECT_FALSE(p.enabled(ID_EDIT_UNDO));
    for (int k = 0; k < 3; ++k)
        p.frame().runCommand(ID_EDIT_REDO);
    EXPECT_EQ(p.film().frameCount(), 2);
    EXPECT_EQ(p.film().paintingChoice(), chosen);

    // An edit of the palette is a step: taken back, the pencil keeps its place in the palette and
    // shows what the palette holds there again, and a paper chosen since stays.
    const uint32_t before = p.film().palette()->colourOfIndex(int(blank)) & 0xFFFFFF;
    bar.openEditor(PaintingColour::Pencil);
    bar.editor()->findChild<QSpinBox*>("red")->setValue(200);
    bar.editor()->close();
    EXPECT_EQ(p.menuText(ID_EDIT_UNDO), "&Undo Colour");
    bar.chooseCell(60, PaintingColour::Paper);
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(uint32_t(indexOfWord(p.film().ink())), blank);
    EXPECT_EQ(rgbOfWord(p.film().ink()), before);
    EXPECT_EQ(indexOfWord(p.film().paper()), 60);

    // A deep film keeps the colour picked as it is saved.
    DrawingProgram deep({.filmWidth = 200, .filmHeight = 150, .filmDepth = 24, .scale = 200, .window = {900, 700}});
    deep.drawLine({20, 75}, {180, 75});
    deep.frame().runCommand(ID_FRAME_NEW);
    pipette(deep, {100, 20});
    ASSERT_EQ(rgbOfWord(deep.film().ink()), 0xFFFFFFu);
    deep.frame().runCommand(ID_EDIT_UNDO);
    deep.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(deep.enabled(ID_EDIT_UNDO));
    Film reread;
    const Bytes file = deep.filmFile();
    const ByteSpan span(file);
    reread.load(0, nullptr, &span, FileType::Film);
    EXPECT_EQ(rgbOfWord(reread.ink()), 0xFFFFFFu);
}

TEST(UndoEveryChange, SpeedUndoneAloneLeavesTheNewFrame)
{
    DrawingProgram p;
    const int period = p.film().period();
    p.frame().runCommand(ID_FRAME_NEW);
    p.frame().runCommand(ID_DELAY_1 + 4);
    ASSERT_EQ(p.film().period(), 200);
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.film().period(), period);
    EXPECT_EQ(p.film().frameCount(), 2);
    EXPECT_EQ(p.menuText(ID_EDIT_REDO), "&Redo Speed");
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.film().frameCount(), 1);
    p.frame().runCommand(ID_EDIT_REDO);
    p.frame().runCommand(ID_EDIT_REDO);
    EXPECT_EQ(p.film().period(), 200);
    EXPECT_EQ(p.film().frameCount(), 2);
    EXPECT_TRUE(p.view().document().isModified());
}
