// The stamp picker and the stamp tool in the real program: picking, turning and stamping a
// stamp, undoing it, saving the film and opening it again; snapshots sent to the stamps;
// stamps dragged onto the film.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFontComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <optional>

#include "DrawingProgram.h"
#include "PickerSteps.h"
#include "app/CToolPanel.h"
#include "app/CTools.h"
#include "app/CStampPicker.h"
#include "app/picker/CPickerWindow.h"
#include "base/CommandIds.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/GraphicList.h"
#include "gfx/Colour.h"
#include "platform/SpriteImage.h"
#include "base/Settings.h"
#include "view/tools/SnapshotTool.h"
#include "view/tools/TextTool.h"

namespace celvane {
namespace {

using test::DrawingProgram;

using test::barFolder;
using test::chooseStampsOfBarFolder;
using test::iconCentre;

TEST(StampScenario, APickedTurnedStampLandsUndoesRedoesAndIsSavedWithTheFilm)
{
    DrawingProgram p;
    Settings::instance().writeString("Stamp Picker", "Dir", barFolder(p.dir));
    // Choosing the stamp tool brings up the picker on its folder.
    p.frame().runCommand(ID_TOOL_STAMP);
    CStampPicker& picker = p.frame().stampPicker();
    CPickerWindow& window = picker.window();
    ASSERT_TRUE(window.isVisible());
    ASSERT_EQ(picker.itemCount(), 1);
    EXPECT_EQ(picker.describe(0).name, "Bar");
    QTest::mouseClick(window.entriesWidget(), Qt::LeftButton, {}, iconCentre(window, 0));
    EXPECT_TRUE(picker.model().stamps().isSelected(0));
    EXPECT_FALSE(window.isVisible()); // picking sends the picker away
    // A quarter turn to the right, from the Image menu.
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(picker.run(ID_STAMP_ROTATE_RIGHT));
    EXPECT_EQ(picker.model().stamps().transform(0)->angle, 90);

    p.drag({100, 75}, {100, 75});
    // Standing up: 10 wide and 20 high around the point.
    EXPECT_EQ(p.inked(), 200);
    EXPECT_EQ(p.image().pixelAt(100, 66), p.ink());
    EXPECT_EQ(p.image().pixelAt(100, 84), p.ink());
    EXPECT_NE(p.image().pixelAt(92, 75), p.ink());
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.inked(), 0);
    p.frame().runCommand(ID_EDIT_REDO);
    EXPECT_EQ(p.inked(), 200);

    p.chooser.paths.push_back(p.dir.file("stamped.qfm"));
    p.frame().runCommand(ID_FILE_SAVE);
    CCelvaneDoc reopened;
    reopened.open(p.dir.file("stamped.qfm"));
    Sprite& frame = *reopened.film()->workingImage(0);
    int inked = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            inked += rgbOfWord(frame.colourWordOf(frame.pixelAt(x, y))) == 0;
    EXPECT_EQ(inked, 200);
    EXPECT_EQ(rgbOfWord(frame.colourWordOf(frame.pixelAt(100, 66))), 0u);
}

TEST(StampScenario, SolidColourStampsInThePaintingColourThePaperWithTheRightButton)
{
    DrawingProgram p;
    CStampPicker& picker = chooseStampsOfBarFolder(p);
    ASSERT_TRUE(picker.run(ID_STAMP_SOLID));
    EXPECT_EQ(picker.model().mode(), StampPickerModel::Solid);
    EXPECT_TRUE(picker.state(ID_STAMP_SOLID).checked);
    EXPECT_FALSE(picker.state(ID_STAMP_USE_MASK).checked);
    // The picker shows the bar's shape standing out from its background.
    CPickerWindow& window = picker.window();
    const QImage shown = window.entriesWidget()->grab().toImage();
    const QPoint bar = iconCentre(window, 0);
    EXPECT_NE(shown.pixel(bar) & 0xFFFFFF, shown.pixel(bar.x(), window.grid().rects(0).icon.top + 2) & 0xFFFFFF);
    // Stamped with the paper colour (the right button): nothing black is left of a black line.
    p.drawLine({50, 75}, {150, 75});
    ASSERT_GT(p.inked(), 0);
    p.app.toolBox().select(ToolBox::Stamp, true);
    p.mouse(QEvent::MouseButtonPress, {100, 75}, Qt::RightButton, Qt::RightButton);
    p.mouse(QEvent::MouseButtonRelease, {100, 75}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(p.image().pixelAt(100, 75), p.image().pixelValueOf(p.film().paper()));
    EXPECT_EQ(p.image().pixelAt(85, 75), p.ink());
}

TEST(StampScenario, ShiftDragsSizeCtrlDragsTurnAndBothTimeOneHundredPlots)
{
    DrawingProgram p;
    chooseStampsOfBarFolder(p);
    const auto inkedAt = [&](int x, int y) { return p.image().pixelAt(x, y) == p.ink(); };
    // The 20 x 10 bar put down at (100, 75), the pointer then on its bottom right corner, which
    // is dragged to (130, 90): twice as wide and high, its top left corner staying at (90, 70).
    p.drag({100, 75}, {130, 90}, Qt::ShiftModifier);
    EXPECT_EQ(p.inked(), 800);
    EXPECT_TRUE(inkedAt(91, 71));
    EXPECT_TRUE(inkedAt(128, 88));
    EXPECT_FALSE(inkedAt(132, 75));
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.inked(), 0);
    // Turned by dragging straight down from its centre: a quarter turn, standing up.
    p.mouse(QEvent::MouseButtonPress, {100, 75}, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    p.mouse(QEvent::MouseMove, {100, 140}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    p.mouse(QEvent::MouseButtonRelease, {100, 140}, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(p.inked(), 200);
    EXPECT_TRUE(inkedAt(100, 67));
    EXPECT_TRUE(inkedAt(100, 83));
    EXPECT_FALSE(inkedAt(92, 75));
    p.frame().runCommand(ID_EDIT_UNDO);
    // Both keys: the time a hundred plots take is shown, and the stamp lands once, as plain.
    p.drag({100, 75}, {100, 75}, Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_EQ(p.sink.shown.size(), 1u);
    EXPECT_TRUE(p.sink.shown[0].starts_with("Time for 100 plots = ")) << p.sink.shown[0];
    EXPECT_EQ(p.inked(), 200);
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.inked(), 0);
}

TEST(StampScenario, TheStampAndEditMenusOpenCopyPasteCutAndDeleteStamps)
{
    DrawingProgram p;
    CStampPicker& picker = chooseStampsOfBarFolder(p);
    const std::string folder = p.dir.file("stamps");
    EXPECT_FALSE(picker.state(ID_STAMP_COPY).enabled); // nothing selected
    test::writeBytes(p.dir.file("box.stp"), test::blockStampFile(30, 24, 0x0000FF, "Box"));
    p.chooser.paths.push_back(p.dir.file("box.stp"));
    ASSERT_TRUE(picker.run(ID_STAMP_OPEN));
    ASSERT_EQ(picker.itemCount(), 2);
    EXPECT_EQ(p.chooser.folders.back(), folder); // the dialog starts in the stamps' folder
    const auto names = [&] {
        std::vector<std::string> n;
        for (int i = 0; i < picker.itemCount(); ++i)
            n.push_back(picker.describe(i).name);
        return n;
    };
    picker.select(PickerSelect::Select, 1);
    ASSERT_TRUE(picker.run(ID_STAMP_COPY));
    ASSERT_TRUE(picker.run(ID_STAMP_PASTE));
    EXPECT_EQ(names(), (std::vector<std::string>{"Bar", "Box", "Box"}));
    ASSERT_TRUE(picker.run(ID_STAMP_CLEAR_SELECTION));
    picker.select(PickerSelect::Select, 0);
    ASSERT_TRUE(picker.run(ID_STAMP_CUT));
    EXPECT_EQ(names(), (std::vector<std::string>{"Box", "Box"}));
    ASSERT_TRUE(picker.run(ID_STAMP_PASTE));
    EXPECT_EQ(names(), (std::vector<std::string>{"Box", "Box", "Bar"}));
    // What the picker copied pastes into the film as a picture of its own.
    p.frame().runCommand(ID_EDIT_PASTE);
    EXPECT_GT(p.inked(), 0);
    ASSERT_TRUE(picker.run(ID_STAMP_SELECT_ALL));
    ASSERT_TRUE(picker.run(ID_STAMP_DELETE));
    EXPECT_EQ(picker.itemCount(), 0);
    for (int id : {ID_STAMP_SAVE, ID_STAMP_SELECT_ALL, ID_STAMP_CUT, ID_STAMP_FLIP_HORIZONTAL})
        EXPECT_FALSE(picker.state(id).enabled) << id;
    EXPECT_TRUE(p.sink.shown.empty());
}

TEST(StampScenario, TheViewMenuShowsStampsOrFileIconsSmallOrLarge)
{
    DrawingProgram p;
    CStampPicker& picker = chooseStampsOfBarFolder(p);
    EXPECT_TRUE(picker.state(ID_STAMP_VIEW_STAMPS).checked);
    EXPECT_TRUE(picker.state(ID_STAMP_SMALL).checked);
    EXPECT_EQ(picker.describe(0).iconWidth, 48);
    ASSERT_TRUE(picker.run(ID_STAMP_LARGE));
    EXPECT_EQ(picker.describe(0).iconWidth, 128);
    EXPECT_EQ(picker.describe(0).iconHeight, 92);
    EXPECT_TRUE(picker.window().large());
    ASSERT_TRUE(picker.run(ID_STAMP_VIEW_ICONS));
    EXPECT_TRUE(picker.state(ID_STAMP_VIEW_ICONS).checked);
    EXPECT_FALSE(picker.state(ID_STAMP_VIEW_STAMPS).checked);
    EXPECT_LT(picker.describe(0).iconWidth, 48);
    // Shown as file icons the next time the program starts, too.
    EXPECT_EQ(Settings::instance().getInt("Stamp Picker", "UseStamps", 1, 0, 1), 0);
}

TEST(StampScenario, ASnapshotSentToTheStampsBecomesTheStampToPlace)
{
    DrawingProgram p;
    p.drawLine({20, 20}, {40, 20});
    p.app.toolBox().snapshot().setToStamps(true);
    p.app.toolBox().select(ToolBox::Snapshot, true);
    p.drag({10, 10}, {50, 30});
    EXPECT_EQ(p.film().frameCount(), 1);
    EXPECT_EQ(p.app.toolBox().currentNumber(), ToolBox::Stamp);
    StampSet& stamps = p.frame().stampPicker().model().stamps();
    ASSERT_EQ(stamps.count(), 1);
    EXPECT_EQ(stamps.name(0), "Snapshot");
    EXPECT_TRUE(stamps.isSelected(0));
    // Placed lower down, the line comes again.
    const int line = p.inked();
    p.drag({30, 51}, {30, 51});
    EXPECT_EQ(p.inked(), 2 * line);
    // A second snapshot replaces the first.
    p.app.toolBox().select(ToolBox::Snapshot, true);
    p.drag({10, 10}, {20, 30});
    ASSERT_EQ(stamps.count(), 1);
    EXPECT_EQ(stamps.image(0)->width(), 10);
    // Grabbing from the clipboard meanwhile takes the copied frame as the snapshot.
    p.frame().runCommand(ID_EDIT_COPY);
    p.app.toolBox().select(ToolBox::Pencil, true);
    p.frame().toolbox()->grabIntoStamps();
    ASSERT_EQ(stamps.count(), 1);
    EXPECT_EQ(stamps.name(0), "Snapshot1"); // the copied frame, as frame 1 of a film
    EXPECT_EQ(stamps.image(0)->width(), 200);
    p.frame().toolbox()->grabIntoStamps();
    EXPECT_EQ(stamps.count(), 1);
    EXPECT_EQ(p.app.toolBox().currentNumber(), ToolBox::Stamp);
}

TEST(StampScenario, StampsDraggedOntoTheFilmJoinItAndFilesDroppedOnThePickerJoinTheStamps)
{
    DrawingProgram p;
    CStampPicker& picker = chooseStampsOfBarFolder(p);
    test::dropFiles(*picker.window().entriesWidget(),
                    {QString::fromStdString(p.dir.file("stamps/data.stp"))});
    ASSERT_EQ(picker.itemCount(), 2);
    picker.select(PickerSelect::Select, 1);
    std::unique_ptr<QMimeData> data(picker.dragData());
    ASSERT_TRUE(data);
    // The pointer carries the black bar on white.
    const QImage carried = picker.dragPicture().toImage();
    ASSERT_FALSE(carried.isNull());
    EXPECT_EQ(carried.pixel(carried.width() / 2, carried.height() / 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(carried.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);
    QWidget& port = *p.view().viewport();
    QDragEnterEvent enter(port.rect().center(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&port, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(port.rect().center()), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&port, &drop);
    // As a pasted picture: on a blank new film it takes the blank frame's place, at the
    // film's size.
    EXPECT_EQ(p.importOptions.asked, 1);
    EXPECT_EQ(p.film().frameCount(), 1);
    EXPECT_EQ(p.inked(), 200 * 150);
}

TEST(StampScenario, SavedStampsGoIntoOneFileOrOneFileAStampAllOrTheSelected)
{
    DrawingProgram p;
    CStampPicker& picker = chooseStampsOfBarFolder(p);
    test::writeBytes(p.dir.file("box.stp"), test::blockStampFile(30, 24, 0x0000FF, "Box"));
    test::dropFiles(*picker.window().entriesWidget(), {QString::fromStdString(p.dir.file("box.stp"))});
    ASSERT_EQ(picker.itemCount(), 2);

    // Nothing selected: the selection box is not offered and every stamp is saved.
    test::answerExportDialog(p.dir.file("all"), true);
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE));
    StampSet back;
    back.add(FileType::StampFile, readFile(p.dir.file("all.stp")));
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(back.name(1), "Box");

    // Every stamp as an animated GIF: the size of the largest, each centred on white.
    test::answerExportDialog(p.dir.file("both.gif"));
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE));
    GraphicList gif;
    gif.load(FileType::Gif, readFile(p.dir.file("both.gif")));
    ASSERT_EQ(gif.frameCount(), 2);
    const auto rgb = [&](int frame, int x, int y) {
        Graphic* graphic;
        int local;
        EXPECT_TRUE(gif.locate(frame, &graphic, &local));
        const Sprite& s = *graphic->workingImage(local);
        EXPECT_EQ(s.width(), 30);
        EXPECT_EQ(s.height(), 24);
        return rgbOfWord(s.colourWordOf(s.pixelAt(x, y)));
    };
    EXPECT_EQ(rgb(0, 15, 12), 0x000000u);
    EXPECT_EQ(rgb(0, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(rgb(1, 2, 2), 0x0000FFu); // red

    // The selected stamp only, as one GIF and as one bitmap (no numbered second file).
    picker.select(PickerSelect::Select, 1);
    test::answerExportDialog(p.dir.file("box.gif"), true);
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE));
    GraphicList one;
    one.load(FileType::Gif, readFile(p.dir.file("box.gif")));
    EXPECT_EQ(one.frameCount(), 1);
    test::answerExportDialog(p.dir.file("box.bmp"), true);
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE));
    EXPECT_EQ(loadLE32(&readFile(p.dir.file("box.bmp"))[18]), 30u); // the width
    EXPECT_FALSE(std::filesystem::exists(p.dir.file("box1.bmp")));

    // One file a stamp: the first under the name chosen, the next numbered after it.
    test::answerExportDialog(p.dir.file("bar.bmp"));
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE));
    EXPECT_EQ(loadLE32(&readFile(p.dir.file("bar.bmp"))[18]), 20u);
    EXPECT_EQ(loadLE32(&readFile(p.dir.file("bar1.bmp"))[18]), 30u);
    test::answerExportDialog(p.dir.file("bar.emf"));
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE));
    for (const char* name : {"bar.emf", "bar1.emf"})
        EXPECT_EQ(loadLE32(readFile(p.dir.file(name)).data()), 1u) << name; // the header record
    EXPECT_TRUE(p.sink.shown.empty());
}

// Two stamps look alike: the same size, colours and mask.
void expectSameLook(const Sprite& a, const Sprite& b, int stamp)
{
    ASSERT_EQ(a.width(), b.width()) << "stamp " << stamp;
    ASSERT_EQ(a.height(), b.height()) << "stamp " << stamp;
    EXPECT_EQ(a.logicalWidth(), b.logicalWidth()) << "stamp " << stamp;
    EXPECT_EQ(a.logicalHeight(), b.logicalHeight()) << "stamp " << stamp;
    ASSERT_EQ(a.mask() != nullptr, b.mask() != nullptr) << "stamp " << stamp;
    int wrong = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            wrong += rgbOfWord(a.colourWordOf(a.pixelAt(x, y))) != rgbOfWord(b.colourWordOf(b.pixelAt(x, y)));
            wrong += a.mask() && a.mask()->pixelAt(x, y) != b.mask()->pixelAt(x, y);
        }
    EXPECT_EQ(wrong, 0) << "stamp " << stamp;
}

TEST(StampScenario, StampsFromASpriteFileAndAGifAreDraggedCopiedAndSavedAsTheyShow)
{
    const auto sprites = test::corpusDir("sprite") / "desklib" / "Tiles-Sprites.ff9";
    const auto gif = test::corpusDir("gif") / "peterdn" / "animated_noloop.gif";
    CELVANE_REQUIRE_CORPUS(sprites.parent_path());
    CELVANE_REQUIRE_CORPUS(gif.parent_path());
    DrawingProgram p;
    const std::string folder = p.dir.file("tiles");
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(sprites, folder + "/data.ff9");
    Settings::instance().writeString("Stamp Picker", "Dir", folder);
    p.frame().runCommand(ID_TOOL_STAMP);
    CStampPicker& picker = p.frame().stampPicker();
    CPickerWindow& window = picker.window();
    const int tiles = picker.itemCount();
    ASSERT_GT(tiles, 1);
    test::dropFiles(*window.entriesWidget(), {QString::fromStdString(gif.string())});
    StampSet& stamps = picker.model().stamps();
    const int all = stamps.count();
    ASSERT_GT(all, tiles + 1); // the GIF's frames
    ASSERT_TRUE(window.folders().links().empty());

    // A tile pressed and dragged out of the picker.
    QWidget& port = *window.entriesWidget();
    const QPoint at = iconCentre(window, 1);
    const auto mouse = [&](QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(point), port.mapToGlobal(QPointF(point)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&port, &event);
    };
    mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, at + QPoint(20, 0), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at + QPoint(20, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(stamps.isSelected(1));
    EXPECT_TRUE(p.sink.shown.empty());

    // A tile and a GIF frame copied and pasted: two more stamps that look the same.
    picker.select(PickerSelect::Select, all - 1);
    ASSERT_TRUE(picker.run(ID_STAMP_COPY));
    ASSERT_TRUE(picker.run(ID_STAMP_PASTE));
    ASSERT_EQ(stamps.count(), all + 2);
    expectSameLook(*stamps.image(1), *stamps.image(all), 1);
    expectSameLook(*stamps.image(all - 1), *stamps.image(all + 1), all - 1);

    // Saved as the folder's stamps: every stamp comes back with its name, as it showed.
    stamps.rename(0, "First tile");
    stamps.rename(all, "Copied tile");
    EXPECT_EQ(picker.describe(0).name, "First tile");
    EXPECT_EQ(picker.describe(1).name, "01");
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE_DEFAULT));
    StampSet back;
    back.add(FileType::StampFile, readFile(folder + "/data.stp"));
    ASSERT_EQ(back.count(), stamps.count());
    for (int n = 0; n < stamps.count(); ++n) {
        EXPECT_EQ(back.name(n), stamps.name(n));
        expectSameLook(*stamps.image(n), *back.image(n), n);
    }
    EXPECT_EQ(back.name(0), "First tile");
    EXPECT_EQ(back.name(all), "Copied tile");

    // Two GIF frames copied: other programs are given the picture of the first.
    picker.select(PickerSelect::None, 0);
    picker.select(PickerSelect::Select, all - 2);
    picker.select(PickerSelect::Select, all - 1);
    ASSERT_TRUE(picker.run(ID_STAMP_COPY));
    const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied, spriteToImage(*stamps.image(all - 2)).convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(copied, spriteToImage(*stamps.image(all - 1)).convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(p.sink.shown.empty());
}

TEST(StampScenario, AFreshStartOffersTheShippedStampsInFolders)
{
    DrawingProgram p;
    p.frame().runCommand(ID_TOOL_STAMP);
    CStampPicker& picker = p.frame().stampPicker();
    CPickerWindow& window = picker.window();
    ASSERT_TRUE(window.isVisible());
    EXPECT_TRUE(p.sink.shown.empty());
    const auto& links = window.folders().links();
    ASSERT_GE(links.size(), 5u);
    for (const PickerLink& link : links)
        EXPECT_GE(link.icon, 0) << link.name << " shows a picture of its stamps";
    int total = picker.itemCount();
    // Every folder the links lead to, and back.
    for (size_t k = 0; k < links.size(); ++k) {
        const std::string name = window.folders().links()[k].name;
        QTest::mouseClick(window.entriesWidget(), Qt::LeftButton, {}, iconCentre(window, int(k)));
        ASSERT_EQ(window.folders().links().front().kind, PickerLink::Back) << name;
        ASSERT_GE(picker.itemCount(), 8) << name;
        for (int n = 0; n < picker.itemCount(); ++n) {
            EXPECT_FALSE(picker.describe(n).name.empty());
            ASSERT_NE(picker.model().stamps().image(n), nullptr);
            EXPECT_NE(picker.model().stamps().image(n)->mask(), nullptr);
        }
        total += picker.itemCount();
        QTest::mouseClick(window.entriesWidget(), Qt::LeftButton, {}, iconCentre(window, 0));
    }
    EXPECT_GE(total, 60);
    EXPECT_TRUE(p.sink.shown.empty());
}

TEST(StampScenario, TypedTextIsPlacedLikeAStampAndBuiltAgainOnlyWhenItChanges)
{
    DrawingProgram p;
    p.frame().runCommand(ID_TOOL_TEXT);
    ASSERT_EQ(p.app.toolBox().currentNumber(), ToolBox::Text);
    TextTool& text = p.app.toolBox().text();
    // Nothing typed: nothing placed.
    p.drag({100, 75}, {100, 75});
    EXPECT_EQ(p.inked(), 0);
    // Keys that are shortcuts elsewhere type: Delete clears the text and deletes no frame.
    QTest::keyClicks(&p.view(), "a.b");
    EXPECT_EQ(text.text(), "a.b");
    QTest::keyClick(&p.view(), Qt::Key_Delete);
    EXPECT_EQ(text.text(), "");
    EXPECT_EQ(p.film().frameCount(), 1);
    EXPECT_TRUE(p.sink.shown.empty());
    QTest::keyClicks(&p.view(), "Hi");
    QTest::keyClick(&p.view(), Qt::Key_Return); // a new line, not full screen
    QTest::keyClick(&p.view(), Qt::Key_Space);  // a space, not playing
    EXPECT_EQ(text.text(), "Hi\r\n ");
    // Backspace takes a new line away whole.
    QTest::keyClick(&p.view(), Qt::Key_Backspace);
    QTest::keyClick(&p.view(), Qt::Key_Backspace);
    EXPECT_EQ(text.text(), "Hi");
    QTest::keyClick(&p.view(), Qt::Key_Backspace);
    EXPECT_EQ(text.text(), "H");
    QTest::keyClicks(&p.view(), "i");
    // The text panel shows what was typed, and what is typed into it goes to the tool.
    auto* field = p.frame().toolbox()->panel(ToolBox::Text)->findChild<QPlainTextEdit*>("text");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->toPlainText(), "Hi");
    field->setPlainText("Hi\nthere");
    EXPECT_EQ(text.text(), "Hi\r\nthere");
    field->setPlainText("Hi");

    StampSet& stamps = p.frame().stampPicker().model().stamps();
    const auto textStamps = [&] {
        int n = 0;
        for (int i = 0; i < stamps.count(); ++i)
            n += stamps.name(i) == "Text stamp";
        return n;
    };
    // Places that keep the words apart.
    p.drag({100, 20}, {100, 20});
    const int once = p.inked();
    EXPECT_GT(once, 20);
    ASSERT_EQ(textStamps(), 1);
    const Sprite* built = stamps.image(stamps.current());
    // Placed again without typing: the same stamp, the same letters again elsewhere.
    p.drag({100, 50}, {100, 50});
    EXPECT_EQ(stamps.image(stamps.current()), built);
    EXPECT_EQ(p.inked(), 2 * once);
    p.frame().runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(p.inked(), once);
    // Typing makes it again; one text stamp stays.
    QTest::keyClicks(&p.view(), "HH");
    p.drag({100, 80}, {100, 80});
    EXPECT_EQ(textStamps(), 1);
    EXPECT_GT(p.inked(), 2 * once);
    // A new painting colour makes it again in that colour.
    GraphicSummary summary;
    p.film().getSummary(summary);
    summary.ink = p.image().nearestColourWord(0x0000FF); // red
    p.film().setSummary(summary);
    p.drag({100, 110}, {100, 110});
    EXPECT_EQ(textStamps(), 1);
    EXPECT_GT(p.inked(), 10);
}

// Answers the name dialog that the next command opens: OK with `name`, or Cancel with none.
void answerNameDialog(std::optional<QString> name)
{
    QTimer::singleShot(0, [name] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (!name) {
            dialog->reject();
            return;
        }
        EXPECT_EQ(dialog->textValue(), "Bar"); // the first selected stamp's name
        dialog->setTextValue(*name);
        dialog->accept();
    });
}

TEST(StampScenario, RenamedStampsKeepTheirNameInTheFolderTheyAreSavedTo)
{
    DrawingProgram p;
    CStampPicker& picker = chooseStampsOfBarFolder(p);
    const std::string folder = p.dir.file("stamps");
    test::dropFiles(*picker.window().entriesWidget(), {QString::fromStdString(folder + "/data.stp")});
    ASSERT_EQ(picker.itemCount(), 2);
    EXPECT_FALSE(picker.state(ID_STAMP_RENAME).enabled); // nothing selected
    picker.select(PickerSelect::All, 0);
    answerNameDialog(std::nullopt);
    ASSERT_TRUE(picker.run(ID_STAMP_RENAME));
    EXPECT_EQ(picker.describe(0).name, "Bar");
    answerNameDialog("Fence");
    ASSERT_TRUE(picker.run(ID_STAMP_RENAME));
    EXPECT_EQ(picker.describe(0).name, "Fence");
    EXPECT_EQ(picker.describe(1).name, "Fence");
    ASSERT_TRUE(picker.run(ID_STAMP_SAVE_DEFAULT));
    StampSet back;
    back.add(FileType::StampFile, readFile(folder + "/data.stp"));
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(back.name(0), "Fence");
    EXPECT_EQ(back.name(1), "Fence");
    EXPECT_TRUE(p.sink.shown.empty());
}

TEST(StampScenario, TheTextPanelListsTheFamilysStylesAndSizesOrSaysItHasNone)
{
    DrawingProgram p;
    p.frame().runCommand(ID_TOOL_TEXT);
    QWidget* panel = p.frame().toolbox()->panel(ToolBox::Text);
    auto* family = panel->findChild<QFontComboBox*>("font");
    auto* style = panel->findChild<QComboBox*>("style");
    auto* size = panel->findChild<QComboBox*>("size");
    ASSERT_TRUE(family && style && size);
    family->setCurrentFont(QFont("DejaVu Sans"));
    ASSERT_EQ(family->currentFont().family(), "DejaVu Sans");
    QStringList styles;
    for (int i = 0; i < style->count(); ++i)
        styles << style->itemText(i);
    for (const char* name : {"Book", "Bold", "Oblique", "Bold Oblique"})
        EXPECT_TRUE(styles.contains(name)) << name << " in " << styles.join(", ").toStdString();
    EXPECT_EQ(size->count(), 16);
    size->setCurrentText("36");
    QTest::keyClicks(&p.view(), "W");
    const auto inkedWith = [&](const char* styleName) {
        style->setCurrentIndex(style->findText(styleName));
        p.drag({100, 75}, {100, 75});
        const int inked = p.inked();
        p.frame().runCommand(ID_EDIT_UNDO);
        return inked;
    };
    const int book = inkedWith("Book");
    EXPECT_GT(book, 50);
    EXPECT_GT(inkedWith("Bold"), book + book / 5);
    EXPECT_EQ(p.app.toolBox().text().font().points, 36);

    // A family typed in that this system does not have: no styles, no sizes, the size typed
    // stays, and the text is still drawn (in the font the system puts in its place).
    family->lineEdit()->selectAll();
    QTest::keyClicks(family->lineEdit(), "Nope Sans");
    QTest::keyClick(family->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(style->count(), 1);
    EXPECT_EQ(style->currentText(), "<No styles>");
    EXPECT_EQ(size->count(), 1);
    EXPECT_EQ(size->itemText(0), "<No sizes>");
    EXPECT_EQ(size->currentText(), "36");
    const TextTool::Font& font = p.app.toolBox().text().font();
    EXPECT_EQ(font.face, "Nope Sans");
    EXPECT_EQ(font.weight, 400);
    EXPECT_EQ(font.points, 36);
    EXPECT_GT(inkedWith("<No styles>"), 50);
}

// A family chosen in the text panel starts at its plain face, whatever the font database lists
// first; the panel's font, style, size and effects are as they were left at the next start.
TEST(StampScenario, ANewFamilyStartsAtItsRegularFaceAndTheTextPanelIsAsLeftAtTheNextStart)
{
    test::TempDir kept;
    const test::ProgramOptions options{.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700},
                                       .settingsFile = kept.path() / "celvane.ini"};
    const auto panelOf = [](DrawingProgram& p) {
        p.frame().runCommand(ID_TOOL_TEXT);
        return p.frame().toolbox()->panel(ToolBox::Text);
    };
    {
        DrawingProgram p(options);
        QWidget* panel = panelOf(p);
        auto* family = panel->findChild<QFontComboBox*>("font");
        auto* style = panel->findChild<QComboBox*>("style");
        ASSERT_TRUE(family && style);
        family->setCurrentFont(QFont("Liberation Serif"));
        EXPECT_EQ(style->currentText(), "Regular");
        family->setCurrentFont(QFont("DejaVu Serif"));
        ASSERT_EQ(family->currentFont().family(), "DejaVu Serif");
        EXPECT_EQ(style->currentText(), "Book");
        const TextTool::Font& font = p.app.toolBox().text().font();
        EXPECT_EQ(font.weight, 400);
        EXPECT_FALSE(font.italic);
        style->setCurrentIndex(style->findText("Bold"));
        panel->findChild<QComboBox*>("size")->setCurrentText("28");
        for (QCheckBox* box : panel->findChildren<QCheckBox*>())
            if (box->text() == "&Underline" || box->text() == "&Shadow")
                box->click();
    }
    DrawingProgram p(options);
    QWidget* panel = panelOf(p);
    EXPECT_EQ(panel->findChild<QFontComboBox*>("font")->currentFont().family(), "DejaVu Serif");
    EXPECT_EQ(panel->findChild<QComboBox*>("style")->currentText(), "Bold");
    EXPECT_EQ(panel->findChild<QComboBox*>("size")->currentText(), "28");
    for (QCheckBox* box : panel->findChildren<QCheckBox*>())
        EXPECT_EQ(box->isChecked(), box->text() != "Stri&keout") << box->text().toStdString();
    // What is typed is drawn so, before the panel is touched.
    const TextTool& text = p.app.toolBox().text();
    EXPECT_EQ(text.font().face, "DejaVu Serif");
    EXPECT_EQ(text.font().weight, 700);
    EXPECT_EQ(text.font().points, 28);
    EXPECT_TRUE(text.font().underline);
    EXPECT_FALSE(text.font().strikeOut);
    EXPECT_TRUE(text.shadow());
}

} // namespace
} // namespace celvane
