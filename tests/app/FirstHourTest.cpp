// What a child or teacher meets in the first hour: colours in reach, bars that stay where they
// were put, big films that fit the screen, and the keys people expect.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "DrawingProgram.h"
#include "QtTestSupport.h"
#include "app/CColourPalette.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "playback/CPlayTool.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {
CColourPalette& paletteBar(test::StartedProgram& p) { return *p.frame().findChild<CColourPalette*>(); }

// The menu item a person reads, found by the start of its text.
QAction* menuItem(CMainFrame& frame, const QString& start)
{
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (a->text().startsWith(start))
                return a;
    return nullptr;
}
} // namespace

TEST(FirstHour, TheFirstStartPutsTheColoursAlongTheBottomLargeEnoughToHit)
{
    test::StartedProgram p({.filmWidth = 160, .filmHeight = 120, .filmDepth = 4, .window = {800, 600}});
    CColourPalette& bar = paletteBar(p);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(p.frame().toolBarArea(&bar), Qt::BottomToolBarArea);
    EXPECT_TRUE(p.frame().commandState(ID_VIEW_PALETTE).checked);
    // Every cell is at least 16 pixels each way, and shows its colour.
    const QImage shown = bar.surface()->grab().toImage();
    const Palette& palette = *p.view().film()->palette();
    for (int i = 0; i < 16; ++i) {
        const Rect cell = bar.layout().cellRect(i);
        EXPECT_GE(cell.width(), 16) << i;
        EXPECT_GE(cell.height(), 16) << i;
        const QPoint inside(cell.left + 5, cell.top + 5); // clear of the paper's frame and the pencil's dot
        const uint32_t colour = palette.colourOfIndex(i);
        EXPECT_EQ(QColor(shown.pixel(inside)), QColor(redOf(colour), greenOf(colour), blueOf(colour))) << i;
    }
    // The whole bar lies inside the window.
    const QRect barInWindow(bar.surface()->mapTo(&p.frame(), QPoint(0, 0)), bar.surface()->size());
    EXPECT_TRUE(p.frame().rect().contains(barInWindow));
}

TEST(FirstHour, BarsStayWhereTheyWereLeftAfterARestart)
{
    test::TempDir kept;
    const auto settings = kept.path() / "celvane.ini";
    {
        test::StartedProgram first({.window = {800, 600}, .settingsFile = settings});
        CMainFrame& frame = first.frame();
        frame.addToolBar(Qt::LeftToolBarArea, &paletteBar(first));
        frame.runCommand(ID_VIEW_PLAY_TOOLS);
        EXPECT_TRUE(frame.findChild<CPlayTool*>()->isHidden());
        EXPECT_TRUE(frame.close());
    }
    test::StartedProgram second({.window = {800, 600}, .settingsFile = settings});
    CMainFrame& frame = second.frame();
    EXPECT_EQ(frame.toolBarArea(&paletteBar(second)), Qt::LeftToolBarArea);
    EXPECT_TRUE(paletteBar(second).isVisible());
    EXPECT_FALSE(paletteBar(second).layout().alternate()); // standing up along the left edge
    EXPECT_TRUE(frame.findChild<CPlayTool*>()->isHidden());
    EXPECT_FALSE(frame.commandState(ID_VIEW_PLAY_TOOLS).checked);
    EXPECT_TRUE(frame.commandState(ID_VIEW_PALETTE).checked);
}

TEST(FirstHour, AFilmBiggerThanTheScreenScrollsInAWindowThatFitsIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    test::StartedProgram p({.filmWidth = screen.width() + 100, .filmHeight = screen.height() + 60});
    CMainFrame& frame = p.frame();
    // The first fit at start-up, and the command.
    for (int pass = 0; pass < 2; ++pass) {
        QApplication::processEvents();
        EXPECT_TRUE(screen.contains(frame.frameGeometry())) << pass;
        EXPECT_GT(p.view().horizontalScrollBar()->maximum(), 0) << pass;
        EXPECT_GT(p.view().verticalScrollBar()->maximum(), 0) << pass;
        const QWidget* play = frame.findChild<CPlayTool*>();
        EXPECT_TRUE(frame.rect().contains(QRect(play->mapTo(&frame, QPoint(0, 0)), play->size()))) << pass;
        frame.move(screen.right() - 50, screen.bottom() - 50); // dragged nearly off the screen
        frame.runCommand(ID_VIEW_FIT_WINDOW);
    }
}

TEST(FirstHour, RedoAndNewFrameHaveTheKeysPeopleExpectShownInTheMenus)
{
    test::DrawingProgram p;
    CMainFrame& frame = p.frame();
    QAction* redo = menuItem(frame, "&Redo");
    QAction* newFrame = menuItem(frame, "&New frame");
    ASSERT_TRUE(redo && newFrame);
    EXPECT_TRUE(redo->text().contains("Ctrl+A") && redo->text().contains("Ctrl+Shift+Z")) << redo->text().toStdString();
    EXPECT_EQ(newFrame->shortcut(), QKeySequence(Qt::Key_Insert));

    QApplication::setActiveWindow(&frame);
    p.drawLine({20, 20}, {80, 20});
    const int inked = p.inked();
    ASSERT_GT(inked, 0);
    frame.refreshCommandStates(); // as the idle refresh does a moment after drawing
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(p.inked(), 0);
    QTest::keyClick(&frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(p.inked(), inked);

    const int frames = p.film().frameCount();
    QTest::keyClick(&frame, Qt::Key_Insert);
    EXPECT_EQ(p.film().frameCount(), frames + 1);
    EXPECT_EQ(p.view().currentFrame(), 1);
    EXPECT_EQ(p.inked(), 0); // a new blank frame
}
