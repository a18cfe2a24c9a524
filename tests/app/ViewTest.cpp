#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTimer>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "base/Settings.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {

// Everything a view tells its tool and its document, in order.
struct Recorder : ToolSink, DocumentObserver {
    std::vector<std::string> log;
    std::vector<ChangeRecord> changes;
    bool drawing = true;
    bool text = false;

    void mouse(MouseAction action, Point at, unsigned keys, bool right) override
    {
        log.push_back("mouse " + std::to_string(int(action)) + " " + std::to_string(at.x) + "," + std::to_string(at.y)
                      + " keys " + std::to_string(keys) + " right " + std::to_string(int(right)));
    }
    void character(char32_t c) override { log.push_back("char " + std::to_string(int(c))); }
    bool drawsOnFrame() const override { return drawing; }
    bool takesText() const override { return text; }
    void onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord* change) override
    {
        log.push_back("hint " + std::to_string(hint));
        if (change)
            changes.push_back(*change);
    }
};

std::vector<std::string> sounds;

// A started program on a settings file of its own, with a 200 x 150 film at 100%.
struct Program : test::StartedProgram {
    explicit Program(int scale = 100)
        : StartedProgram({.filmWidth = 200, .filmHeight = 150, .scale = scale, .window = {800, 600}})
    {
        sounds.clear();
        ActionSounds::setPlayer([](const char* name, bool, const char*) { sounds.push_back(name); });
    }
    ~Program() { ActionSounds::setPlayer(nullptr); }
    QPoint client(Point frameAt) { return QPoint(view().layout().frameRect().left + frameAt.x, view().layout().frameRect().top + frameAt.y); }
    QImage grab() { return view().viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(at), to->mapToGlobal(QPointF(at)), button, buttons, modifiers);
    QApplication::sendEvent(to, &event);
}

void key(QWidget* to, int k, const QString& text)
{
    QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(to, &event);
}

// Runs `answer` on the dialog that a command opens, once it is showing.
template <class F>
void whenDialogOpens(F answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
        dialog->close();
    });
}

} // namespace

TEST(View, CreationReadsItsSettings)
{
    Program tooSmall(5);
    EXPECT_EQ(tooSmall.view().scale(), 10);
    EXPECT_TRUE(tooSmall.view().showOverRuns());
    Settings::instance().writeInt("Settings", "ShowOverRun", 0);
    tooSmall.view().document().updateAllViews(nullptr, Hint::SettingsChanged);
    EXPECT_FALSE(tooSmall.view().showOverRuns());
    EXPECT_FALSE(tooSmall.view().hasSound());
}

TEST(View, MouseAndKeysGoToTheTool)
{
    Program p;
    Recorder tool;
    CCelvaneView& view = p.view();
    view.setToolSink(&tool);
    view.document().addView(&tool);
    QWidget* port = view.viewport();

    // A press tells every view first (transient windows close), then the tool gets the frame
    // position, rounded and clamped.
    send(port, QEvent::MouseButtonPress, p.client({10, 20}), Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(port, QEvent::MouseMove, p.client({-30, 500}), Qt::NoButton, Qt::RightButton);
    send(port, QEvent::MouseButtonRelease, p.client({12, 20}), Qt::RightButton, Qt::NoButton, Qt::ControlModifier);
    send(port, QEvent::MouseButtonPress, p.client({1, 1}), Qt::MiddleButton, Qt::MiddleButton);
    EXPECT_EQ(tool.log, (std::vector<std::string>{"hint 1024", "mouse 0 10,20 keys 5 right 0", "mouse 3 0,150 keys 2 right 1",
                                                  "mouse 1 12,20 keys 8 right 1"}));

    // Enter and Space are the window's unless the tool takes text; Escape also closes
    // transient windows.
    tool.log.clear();
    int fullScreen = 0, stop = 0;
    QObject::connect(&view, &CCelvaneView::fullScreenToggleRequested, [&] { ++fullScreen; });
    QObject::connect(&view, &CCelvaneView::stopPlaybackRequested, [&] { ++stop; });
    key(&view, Qt::Key_Return, "\r");
    key(&view, Qt::Key_Space, " ");
    key(&view, Qt::Key_A, "a");
    key(&view, Qt::Key_Escape, "\x1b");
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(stop, 1);
    EXPECT_EQ(tool.log, (std::vector<std::string>{"char 97", "hint 1024", "char 27"}));
    tool.text = true;
    tool.log.clear();
    key(&view, Qt::Key_Return, "\r");
    key(&view, Qt::Key_Space, " ");
    EXPECT_EQ(tool.log, (std::vector<std::string>{"char 13", "char 32"}));
    EXPECT_EQ(fullScreen, 1);

    // A tool that does not draw takes the frame's border and grid away when the tool changes.
    tool.drawing = false;
    view.document().updateAllViews(nullptr, Hint::ToolChanged);
    EXPECT_FALSE(view.drawingTool());

    // A refreshed rectangle grows the changed area and reaches every view with its record.
    tool.changes.clear();
    view.refreshRect({1, 2, 3, 4}, false);
    view.refreshRect({10, 10, 12, 12}, true);
    ASSERT_EQ(tool.changes.size(), 2u);
    EXPECT_EQ(tool.changes[1].rect, (Rect{10, 10, 12, 12}));
    EXPECT_TRUE(tool.changes[1].immediate);
    EXPECT_EQ(tool.log.back(), "hint " + std::to_string(uint32_t(Hint::ToolRedrew)));
    EXPECT_EQ(view.canvas().changedArea(), (Rect{1, 2, 12, 12}));
    view.document().removeView(&tool);
    view.setToolSink(nullptr);
}

TEST(View, ZoomCommandsDialogAndSounds)
{
    Program p;
    CCelvaneView& view = p.view();
    p.frame().runCommand(ID_ZOOM_IN);
    EXPECT_EQ(view.scale(), 200);
    view.toggleZoom();
    EXPECT_EQ(view.scale(), 100);
    view.toggleZoom();
    EXPECT_EQ(view.scale(), 200);
    view.zoomToRect({0, 0, 10, 10});
    EXPECT_EQ(view.scale(), 1600);
    EXPECT_EQ(sounds, (std::vector<std::string>{"Zoom in", "Zoom out", "Zoom in", "Zoom in"}));

    // Out-of-range scales are refused and the dialog stays open; a good one is applied.
    bool stayedOpen = false;
    whenDialogOpens([&](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>("scale");
        ASSERT_NE(edit, nullptr);
        for (const char* bad : {"5", "2000"}) {
            edit->setText(bad);
            dialog.accept();
        }
        stayedOpen = dialog.isVisible();
        dialog.findChild<QAbstractButton*>("preset400")->click();
        dialog.accept();
    });
    p.frame().runCommand(ID_VIEW_ZOOM);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(p.sink.shown, (std::vector<std::string>{"Please enter an integer between 10 and 1600.",
                                                      "Please enter an integer between 10 and 1600."}));
    EXPECT_EQ(view.scale(), 400);
}

TEST(View, GridDialogAndGridDrawnByInversion)
{
    Program p;
    CCelvaneView& view = p.view();
    const QImage plain = p.grab();
    // The frame's outline and shadow while a drawing tool is current.
    const Rect f = view.layout().frameRect();
    const QRgb edge = view.palette().color(QPalette::ButtonText).rgb();
    EXPECT_EQ(plain.pixel(f.left - 1, f.top + 5), edge);
    EXPECT_EQ(plain.pixel(f.right + 3, f.bottom + 3), edge);
    EXPECT_NE(plain.pixel(f.right + 3, f.top + 1), edge);

    bool refused = false;
    whenDialogOpens([&](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("show")->setChecked(true);
        auto* divisions = dialog.findChild<QSpinBox*>("xSubDivs");
        divisions->setValue(0);
        dialog.accept();
        refused = dialog.isVisible();
        divisions->setValue(2);
        dialog.findChild<QSpinBox*>("xSpacing")->setValue(50);
        dialog.accept();
    });
    p.frame().runCommand(ID_VIEW_GRID);
    EXPECT_TRUE(refused);
    ASSERT_EQ(p.sink.shown, (std::vector<std::string>{"Please enter an integer between 1 and 10."}));
    EXPECT_TRUE(view.grid().show);
    EXPECT_EQ(view.grid().xSpacing, 50);
    EXPECT_EQ(view.grid().xSubDivs, 2);

    // Marks invert what is under them: the crossing at (50, 64), a dot at (50, 32) on a
    // vertical line, a dot at (25, 64) on a horizontal one; nothing between lines.
    const QImage gridded = p.grab();
    const auto inverted = [&](int x, int y) {
        return (gridded.pixel(f.left + x, f.top + y) & 0xFFFFFF) == (~plain.pixel(f.left + x, f.top + y) & 0xFFFFFF);
    };
    EXPECT_TRUE(inverted(50, 64));
    EXPECT_TRUE(inverted(52, 64));
    EXPECT_TRUE(inverted(50, 32));
    EXPECT_TRUE(inverted(25, 64));
    EXPECT_FALSE(inverted(30, 40));

    // The rubber band inverts its edges and leaves nothing behind when erased.
    view.drawRubberBand({100, 100, 120, 110});
    const QImage banded = p.grab();
    EXPECT_EQ(banded.pixel(f.left + 110, f.top + 100) & 0xFFFFFF, ~gridded.pixel(f.left + 110, f.top + 100) & 0xFFFFFF);
    EXPECT_EQ(banded.pixel(f.left + 110, f.top + 105), gridded.pixel(f.left + 110, f.top + 105));
    view.eraseRubberBand();
    EXPECT_EQ(p.grab(), gridded);
}
