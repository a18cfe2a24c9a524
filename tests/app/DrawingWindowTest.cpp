#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "DrawingProgram.h"
#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "base/Settings.h"
#include "view/CCelvaneView.h"
#include "view/tools/PenTool.h"
#include "view/tools/ViewTools.h"

using namespace celvane;

namespace {
using Drawing = test::DrawingProgram;
} // namespace

TEST(DrawingWindow, ThePencilDrawsWithTheMouseAndEditUndoTakesItBack)
{
    Drawing d;
    d.app.toolBox().pencil().setPen({1, false, 2, 2});
    EXPECT_FALSE(d.frame().commandState(ID_EDIT_UNDO).enabled);
    d.mouse(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    d.mouse(QEvent::MouseMove, {60, 20}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(d.inked(), 0) << "drawn on the provisional image while the button is down";
    d.mouse(QEvent::MouseButtonRelease, {60, 20}, Qt::LeftButton, Qt::NoButton);
    const int drawn = d.inked();
    EXPECT_GE(drawn, 41 * 2); // a 2-pixel line 40 pixels long, give or take the rounding at 200%
    EXPECT_LE(drawn, 43 * 2);
    EXPECT_TRUE(d.view().document().isModified());

    EXPECT_TRUE(d.frame().commandState(ID_EDIT_UNDO).enabled);
    EXPECT_TRUE(d.frame().commandState(ID_EDIT_RESTORE).enabled);
    EXPECT_TRUE(d.frame().runCommand(ID_EDIT_UNDO));
    EXPECT_EQ(d.inked(), 0);
    EXPECT_TRUE(d.frame().commandState(ID_EDIT_REDO).enabled);
    EXPECT_TRUE(d.frame().runCommand(ID_EDIT_REDO));
    EXPECT_EQ(d.inked(), drawn);
    EXPECT_TRUE(d.frame().runCommand(ID_FRAME_BLANK));
    EXPECT_EQ(d.inked(), 0);

    // The pen keys reach the pencil through the window.
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&d.view(), &up);
    EXPECT_EQ(d.app.toolBox().pencil().pen().width, 3);
}
