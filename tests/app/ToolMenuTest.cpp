#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "DrawingProgram.h"
#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "film/Film.h"
#include "base/Settings.h"
#include "view/CCelvaneView.h"
#include "view/tools/PenTool.h"

using namespace celvane;

namespace {

// A started program with a 200 x 150 film at 100%, its tools chosen from the menu bar.
struct ToolMenus : test::DrawingProgram {
    ToolMenus() : DrawingProgram({.filmWidth = 200, .filmHeight = 150, .window = {900, 700}}) {}
    // The menu bar's item with this label, looked for through the menus as a person would.
    QAction* menuItem(const QString& label)
    {
        for (QAction* top : frame().menuBar()->actions())
            if (QMenu* menu = top->menu())
                for (QAction* item : menu->actions())
                    if (item->text() == label)
                        return item;
        ADD_FAILURE() << "no menu item " << label.toStdString();
        return nullptr;
    }
};

} // namespace

TEST(ToolMenu, ChoosingAToolFromTheMenuChecksItAndTheWindowDrawsWithIt)
{
    ToolMenus m;
    QAction* pencil = m.menuItem("&Pencil");
    QAction* eraser = m.menuItem("&Eraser");
    QAction* text = m.menuItem("Te&xt");
    QAction* zoom = m.menuItem("&Zoom");
    ASSERT_TRUE(pencil && eraser && text && zoom);
    m.frame().refreshCommandStates();
    EXPECT_TRUE(pencil->isChecked());
    EXPECT_FALSE(eraser->isChecked());
    EXPECT_TRUE(text->isEnabled());
    EXPECT_FALSE(text->isChecked());

    m.app.toolBox().pencil().setPen({1, false, 4, 4});
    m.app.toolBox().eraser().setPen({1, false, 6, 6});
    m.drag({20, 20}, {80, 20});
    const int drawn = m.inked();
    ASSERT_GT(drawn, 0);

    eraser->trigger();
    EXPECT_EQ(m.app.toolBox().currentNumber(), ToolBox::Eraser);
    EXPECT_TRUE(eraser->isChecked());
    EXPECT_FALSE(pencil->isChecked());
    m.drag({20, 20}, {50, 20});
    EXPECT_LT(m.inked(), drawn) << "the mouse now rubs out";
    EXPECT_GT(m.inked(), 0);

    // Choosing the current tool again keeps it (and its check).
    eraser->trigger();
    EXPECT_EQ(m.app.toolBox().currentNumber(), ToolBox::Eraser);
    EXPECT_TRUE(eraser->isChecked());

    zoom->trigger();
    EXPECT_TRUE(zoom->isChecked());
    EXPECT_FALSE(eraser->isChecked());
    pencil->trigger();
    EXPECT_EQ(m.app.toolBox().currentNumber(), ToolBox::Pencil);
    EXPECT_TRUE(pencil->isChecked());
}
