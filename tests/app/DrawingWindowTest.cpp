#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "platform/Settings.h"
#include "view/CCelvaneView.h"
#include "view/tools/PenTool.h"
#include "view/tools/ViewTools.h"

using namespace celvane;

namespace {

// A started program with a 200 x 150 film at 200%, driven with the mouse.
struct Drawing : test::StartedProgram {
    Drawing() : StartedProgram({.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700}}) {}
    Sprite& image() { return *view().film()->workingImage(view().currentFrame()); }
    uint32_t ink() { return image().pixelValueOf(view().film()->ink()); }
    QPoint client(Point f)
    {
        const Point c = view().layout().frameToClient(f, false);
        return {c.x, c.y};
    }
    void mouse(QEvent::Type type, Point at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QWidget* port = view().viewport();
        QMouseEvent event(type, QPointF(client(at)), port->mapToGlobal(QPointF(client(at))), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(port, &event);
    }
    int inked()
    {
        int n = 0;
        for (int y = 0; y < image().height(); ++y)
            for (int x = 0; x < image().width(); ++x)
                n += image().pixelAt(x, y) == ink();
        return n;
    }
};

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
