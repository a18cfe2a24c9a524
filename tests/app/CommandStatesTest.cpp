#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>

#include "DrawingProgram.h"
#include "app/CommandTable.h"
#include "base/CommandIds.h"
#include "playback/CPlayTool.h"

using namespace celvane;

namespace {
// The program's action for a command, as its menus and buttons show it (Undo and Redo name
// their step after their own label).
QAction* actionFor(test::DrawingProgram& p, int id)
{
    const QString label = QString::fromUtf8(findCommand(id)->menuText).section('\t', 0, 0);
    for (QAction* a : p.frame().actions())
        if (const QString shown = a->text().section('\t', 0, 0); shown == label || shown.startsWith(label + ' '))
            return a;
    ADD_FAILURE() << "no action " << label.toStdString();
    return nullptr;
}

// A press on the play bar's film strip, as a person makes it.
void pressStrip(test::DrawingProgram& p, Qt::KeyboardModifiers modifiers)
{
    QWidget* strip = p.frame().findChild<CPlayTool*>()->stripWidget();
    const QPointF at(strip->width() / 2, strip->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, strip->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(strip, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, strip->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(strip, &release);
}
} // namespace

// No event is let through between what the person does and what the test reads: the buttons
// and menus must be right at once, not after some later refresh.
TEST(CommandStates, ButtonsAndMenusFollowWhatWasJustDone)
{
    test::DrawingProgram p;
    QAction* undo = actionFor(p, ID_EDIT_UNDO);
    QAction* selectAll = actionFor(p, ID_SELECT_ALL);
    QAction* clearSelection = actionFor(p, ID_CLEAR_SELECTION);
    ASSERT_TRUE(undo && selectAll && clearSelection);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(p.frame().windowTitle().contains('*'));

    p.drawLine({20, 20}, {80, 20});
    EXPECT_TRUE(undo->isEnabled()) << "a drawing can be undone the moment it ends";
    EXPECT_EQ(undo->text().section('\t', 0, 0), "&Undo Pencil");
    EXPECT_TRUE(p.frame().windowTitle().contains('*'));

    // Marking the only frame on the film strip: nothing left to select, a selection to clear.
    EXPECT_TRUE(selectAll->isEnabled());
    EXPECT_FALSE(clearSelection->isEnabled());
    pressStrip(p, Qt::ShiftModifier);
    ASSERT_TRUE(p.film().isFrameSelected(0));
    EXPECT_FALSE(selectAll->isEnabled());
    EXPECT_TRUE(clearSelection->isEnabled());

    // Undone from its menu item: Redo is offered at once.
    undo->trigger();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(actionFor(p, ID_EDIT_REDO)->isEnabled());
}

TEST(CommandStates, PasteFollowsTheClipboardWhoeverFillsIt)
{
    test::DrawingProgram p;
    QAction* paste = actionFor(p, ID_EDIT_PASTE);
    ASSERT_NE(paste, nullptr);
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(paste->isEnabled());
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture); // as another program would
    EXPECT_TRUE(paste->isEnabled());
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(paste->isEnabled());
}
