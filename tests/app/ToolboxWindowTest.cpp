#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CChoices.h"
#include "app/CColourPalette.h"
#include "app/CToolPanel.h"
#include "app/CTools.h"
#include "app/CelvaneApp.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "playback/CPlayTool.h"
#include "base/Settings.h"
#include "view/CCelvaneView.h"
#include "view/tools/FloodFillTool.h"
#include "view/tools/PenSizeText.h"
#include "view/tools/PenTool.h"
#include "view/tools/SnapshotTool.h"

using namespace celvane;

namespace {

// A started program with a small film; `prepare` writes settings before it starts.
struct Toolbox : test::StartedProgram {
    explicit Toolbox(const std::function<void(Settings&)>& prepare = {})
        : StartedProgram({.filmWidth = 120, .filmHeight = 90, .window = {900, 700}, .settings = prepare})
    {
        frame().show();
        QApplication::processEvents();
    }
    CTools& tools() { return *frame().toolbox(); }
    CToolPanel& panel(int tool) { return *tools().panel(tool); }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    template <class W> W* child(QWidget& in, const QString& text)
    {
        for (W* w : in.findChildren<W*>())
            if (w->text() == text)
                return w;
        ADD_FAILURE() << "nothing called " << text.toStdString();
        return nullptr;
    }
};

} // namespace

TEST(ToolboxWindow, ButtonsChooseToolsAndOpenTheirPanels)
{
    Toolbox t;
    EXPECT_EQ(t.tools().buttonCount(), 12);
    EXPECT_EQ(t.tools().button(0)->size(), QSize(40, 40));
    EXPECT_TRUE(t.frame().commandState(ID_VIEW_TOOLBOX).checked);
    EXPECT_TRUE(t.frame().runCommand(ID_VIEW_TOOLBOX));
    EXPECT_FALSE(t.frame().commandState(ID_VIEW_TOOLBOX).checked);
    EXPECT_TRUE(t.frame().runCommand(ID_VIEW_TOOLBOX));
    t.settle();

    // The flood fill opens its panel on the first click; a mode chosen there hides it.
    t.tools().button(5)->click();
    EXPECT_EQ(t.app.toolBox().currentNumber(), ToolBox::FloodFill);
    EXPECT_TRUE(t.panel(ToolBox::FloodFill).isVisible());
    EXPECT_EQ(t.panel(ToolBox::FloodFill).windowTitle(), "Flood Fill");
    t.child<QRadioButton>(t.panel(ToolBox::FloodFill), "All areas of the same colour")->click();
    t.settle();
    EXPECT_EQ(t.app.toolBox().floodFill().mode(), FloodFillTool::SameColour);
    EXPECT_FALSE(t.panel(ToolBox::FloodFill).isVisible());

    // Pressing the current tool's button again toggles its panel; a pinned one stays.
    t.tools().button(5)->click();
    EXPECT_TRUE(t.panel(ToolBox::FloodFill).isVisible());
    t.panel(ToolBox::FloodFill).setPinned(true);
    t.child<QRadioButton>(t.panel(ToolBox::FloodFill), "Area under paint can")->click();
    t.settle();
    EXPECT_TRUE(t.panel(ToolBox::FloodFill).isVisible());
    t.tools().button(5)->click();
    EXPECT_FALSE(t.panel(ToolBox::FloodFill).isVisible());

    // A press in the film window sends away the panels that are not pinned.
    t.tools().button(5)->click();
    t.panel(ToolBox::FloodFill).setPinned(false);
    QWidget* port = t.frame().activeView()->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), port->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), port->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(port, &release);
    EXPECT_TRUE(t.panel(ToolBox::FloodFill).isVisible()) << "the hide waits for the press to finish";
    t.settle();
    EXPECT_FALSE(t.panel(ToolBox::FloodFill).isVisible());

    // The pencil's size field refuses what is not "WxH" within 1 ... 164.
    t.tools().button(0)->click();
    CToolPanel& pencil = t.panel(ToolBox::Pencil);
    EXPECT_TRUE(pencil.isVisible());
    QLineEdit* size = pencil.findChild<QLineEdit*>();
    ASSERT_TRUE(size);
    size->setText("200x3");
    emit size->returnPressed();
    ASSERT_EQ(t.sink.shown.size(), 1u);
    EXPECT_EQ(t.sink.shown[0], kPenSizeFormatMessage);
    EXPECT_EQ(size->text(), "16x16");
    size->setText("5x9");
    emit size->returnPressed();
    EXPECT_EQ(t.app.toolBox().pencil().pen().width, 5);
    EXPECT_EQ(t.app.toolBox().pencil().pen().height, 9);
    t.settle();
    EXPECT_FALSE(pencil.isVisible());

    // The pencil's and the eraser's panels show the pen as chosen, its shape and its preset checked.
    t.tools().button(0)->click();
    ASSERT_TRUE(pencil.isVisible());
    EXPECT_TRUE(t.child<QToolButton>(pencil, "Freehand")->isChecked());
    EXPECT_FALSE(t.child<QToolButton>(pencil, "Line")->isChecked());
    EXPECT_FALSE(t.child<QToolButton>(pencil, "Round pen, 16 pixels")->isChecked()) << "the pen is 5x9";
    // A choice made, the panel closes; opened again by its tool's button, it shows the choice.
    const auto chooseAndReopen = [&](CToolPanel& panel, const char* choice, int tool) {
        t.child<QToolButton>(panel, choice)->click();
        t.settle();
        t.tools().button(tool)->click();
    };
    chooseAndReopen(pencil, "Square pen, 4 pixels", 0);
    ASSERT_TRUE(pencil.isVisible());
    EXPECT_TRUE(t.child<QToolButton>(pencil, "Square pen, 4 pixels")->isChecked());
    EXPECT_FALSE(t.child<QToolButton>(pencil, "Round pen, 4 pixels")->isChecked());
    EXPECT_TRUE(t.child<QToolButton>(pencil, "Freehand")->isChecked());
    chooseAndReopen(pencil, "Line", 0);
    EXPECT_TRUE(t.child<QToolButton>(pencil, "Line")->isChecked());
    EXPECT_FALSE(t.child<QToolButton>(pencil, "Freehand")->isChecked());
    t.tools().button(1)->click();
    CToolPanel& eraser = t.panel(ToolBox::Eraser);
    ASSERT_TRUE(eraser.isVisible());
    chooseAndReopen(eraser, "Square pen, 2 pixels", 1);
    ASSERT_TRUE(eraser.isVisible());
    EXPECT_TRUE(t.child<QToolButton>(eraser, "Square pen, 2 pixels")->isChecked());
    EXPECT_FALSE(t.child<QToolButton>(eraser, "Square pen, 4 pixels")->isChecked());
}

TEST(ToolboxWindow, EraserActionsGoBackToThePreviousToolAndAnEmptyGroupStillHasTheMenus)
{
    Toolbox t([](Settings& s) {
        for (int i = 0; i < 12; ++i)
            s.writeInt("ToolBox 0", "Tool" + std::to_string(i), 0);
    });
    EXPECT_EQ(t.tools().buttonCount(), 0);
    EXPECT_TRUE(t.frame().runCommand(ID_TOOL_ZOOM));
    EXPECT_TRUE(t.frame().runCommand(ID_TOOL_ERASER));
    CToolPanel& eraser = t.panel(ToolBox::Eraser);
    EXPECT_FALSE(eraser.isVisible()) << "these entries do not open on the first choice";
    // Chosen again from the menu: the panel opens even without a button to sit by.
    EXPECT_TRUE(t.frame().runCommand(ID_TOOL_ERASER));
    EXPECT_TRUE(eraser.isVisible());
    EXPECT_EQ(t.app.toolBox().currentNumber(), ToolBox::Eraser);

    Sprite& image = *t.frame().activeView()->film()->workingImage(0);
    const uint32_t ink = image.pixelValueOf(t.frame().activeView()->film()->ink());
    image.setPixelAt(3, 3, ink);
    t.child<QPushButton>(eraser, "Blank frame")->click();
    t.settle();
    EXPECT_NE(image.pixelAt(3, 3), ink);
    EXPECT_EQ(t.app.toolBox().currentNumber(), ToolBox::Pencil) << "back past the zoom to the pencil";
    EXPECT_FALSE(eraser.isVisible());
}

TEST(ToolboxWindow, TheSnapshotPanelOffersOnlyWhatCanBeDone)
{
    Toolbox t;
    t.tools().button(2)->click(); // the snapshot's panel waits for a second click
    CToolPanel& panel = t.panel(ToolBox::Snapshot);
    EXPECT_FALSE(panel.isVisible());
    t.tools().button(2)->click();
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.windowTitle(), "Snap Shot");
    EXPECT_TRUE(t.child<QRadioButton>(panel, "Send to film")->isChecked());
    EXPECT_TRUE(t.child<QPushButton>(panel, "Grab from clipboard")->isEnabled()) << "it pastes into the film";
    EXPECT_FALSE(t.child<QPushButton>(panel, "Repeat last")->isEnabled()) << "nothing taken yet";
    t.child<QRadioButton>(panel, "Pick up pencil colour only")->click();
    EXPECT_EQ(t.app.toolBox().snapshot().mask(), SnapshotTool::PencilOnly);
    t.child<QRadioButton>(panel, "Send to stamps")->click();
    EXPECT_TRUE(t.app.toolBox().snapshot().toStamps());
}

// Every panel opens beside the toolbox, off the film, the palette and the play bar, or where
// the user last put it.
TEST(ToolboxWindow, PanelsOpenBesideTheToolboxOffTheFilmAndTheBarsOrWhereTheyWereLeft)
{
    test::StartedProgram p({.filmWidth = 300, .filmHeight = 200, .window = {780, 520}, .settings = [](Settings& s) {
                                s.writeInt("Windows", "SnapShotLeft", 420);
                                s.writeInt("Windows", "SnapShotTop", 400);
                            }});
    p.frame().move(0, 0);
    p.frame().show();
    QApplication::processEvents();
    CCelvaneView& view = p.view();
    const Rect f = view.layout().frameRect();
    const QRect film(view.viewport()->mapToGlobal(QPoint(f.left, f.top)), QSize(f.width(), f.height()));
    const auto onScreen = [](const QWidget& w) { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); };
    const QRect tools = onScreen(*p.frame().toolbox());
    const QRect palette = onScreen(*p.frame().findChild<CColourPalette*>());
    const QRect play = onScreen(*p.frame().findChild<CPlayTool*>());
    const QRect screen = p.frame().screen()->availableGeometry();

    for (const auto& [command, tool] : {std::pair{ID_TOOL_FILL, ToolBox::FloodFill}, {ID_TOOL_PENCIL, ToolBox::Pencil},
                                        {ID_TOOL_ERASER, ToolBox::Eraser}, {ID_TOOL_TEXT, ToolBox::Text}}) {
        // Chosen from the Tools menu (twice for a panel that waits for the second choice); a
        // window manager puts the new window in the middle of the film.
        CToolPanel& panel = *p.frame().toolbox()->panel(tool);
        p.frame().runCommand(command);
        if (!panel.isVisible())
            p.frame().runCommand(command);
        ASSERT_TRUE(panel.isVisible()) << panel.windowTitle().toStdString();
        const QPoint wanted = film.center() - panel.rect().center();
        panel.move(wanted);
        test::waitUntil([&] { return panel.pos() != wanted; }, 3000);
        const QRect placed = panel.frameGeometry();
        SCOPED_TRACE(panel.windowTitle().toStdString());
        EXPECT_FALSE(placed.intersects(film)) << "over the film";
        EXPECT_FALSE(placed.intersects(palette)) << "over the palette";
        EXPECT_FALSE(placed.intersects(play)) << "over the play bar";
        EXPECT_FALSE(placed.intersects(tools)) << "over the toolbox";
        EXPECT_TRUE(screen.contains(placed)) << "off the screen";
        if (tool == ToolBox::FloodFill)
            EXPECT_EQ(placed.left(), tools.right() + 1) << "not beside the toolbox";
        EXPECT_FALSE(panel.pinned()) << "the window system's placing counted as the user's move";
        panel.hide();
    }
    p.frame().runCommand(ID_TOOL_SNAPSHOT);
    p.frame().runCommand(ID_TOOL_SNAPSHOT);
    const CToolPanel& snapshot = *p.frame().toolbox()->panel(ToolBox::Snapshot);
    test::waitUntil([&] { return snapshot.pos() == QPoint(420, 400); }, 3000);
    EXPECT_EQ(snapshot.pos(), QPoint(420, 400));
}

// A teacher who keeps small buttons chooses the Junior toolbox for a class of young children:
// six tools on large buttons, while the menus still choose every tool.
TEST(ToolboxWindow, TheJuniorToolboxHasSixToolsOnLargeButtonsAndTheMenusKeepTheRest)
{
    Toolbox t([](Settings& s) { s.writeInt("ToolBox", "BigButtons", 0); });
    ASSERT_EQ(t.tools().button(0)->size(), QSize(24, 22));
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CChoices*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        QRadioButton* small = t.child<QRadioButton>(*sheet, "Small Buttons");
        EXPECT_TRUE(small->isChecked());
        t.child<QRadioButton>(*sheet, "Junior")->click();
        EXPECT_FALSE(small->isEnabledTo(sheet)) << "Junior buttons are always large";
        sheet->accept();
        answered = true;
    });
    t.frame().runCommand(ID_VIEW_CHOICES);
    ASSERT_TRUE(answered);
    t.settle();

    const std::vector<std::pair<int, int>> shown = {{0, ToolBox::Pencil}, {1, ToolBox::Eraser},
                                                    {3, ToolBox::Stamp},  {5, ToolBox::FloodFill},
                                                    {6, ToolBox::Sound},  {7, ToolBox::Text}};
    EXPECT_EQ(t.tools().buttonCount(), int(shown.size()));
    for (const auto& [entry, tool] : shown) {
        QToolButton* b = t.tools().button(entry);
        ASSERT_TRUE(b) << "entry " << entry;
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->size(), QSize(40, 40));
        if (tool == ToolBox::Stamp)
            continue; // its panel is the stamp picker
        b->click();
        EXPECT_EQ(t.app.toolBox().currentNumber(), tool) << "entry " << entry;
    }
    EXPECT_TRUE(t.panel(ToolBox::Text).isVisible()) << "the text panel opens at once, as in Standard";
    for (int entry : {2, 4, 8, 9, 10, 11})
        EXPECT_FALSE(t.tools().button(entry)) << "entry " << entry;
    EXPECT_LE(t.tools().width(), 2 * 40 + 20) << "two to a row down the side";

    for (const auto& [command, tool] : {std::pair{ID_TOOL_SNAPSHOT, ToolBox::Snapshot},
                                        {ID_TOOL_PIPETTE, ToolBox::Pipette}, {ID_TOOL_ZOOM, ToolBox::Zoom}}) {
        EXPECT_TRUE(t.frame().runCommand(command));
        EXPECT_EQ(t.app.toolBox().currentNumber(), tool);
    }
    EXPECT_TRUE(t.frame().runCommand(ID_GHOSTING));
    EXPECT_TRUE(t.frame().commandState(ID_GHOSTING).checked);
}
