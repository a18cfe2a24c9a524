#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QScrollBar>
#include <QRegularExpression>
#include <QTimer>
#include <set>

#include "PickerSteps.h"
#include "QtTestSupport.h"
#include "app/CColourPalette.h"
#include "app/CToolPanel.h"
#include "app/CTools.h"
#include "app/CommandTable.h"
#include "app/sound/CSoundPicker.h"
#include "app/sound/CSoundTools.h"
#include "gfx/Colour.h"
#include "playback/CPlayTool.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "app/ExportDialog.h"
#include "view/TitleRoom.h"
#include "base/CommandIds.h"
#include "app/RecentFiles.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "base/Settings.h"
#include "playback/PlaybackController.h"
#include "view/CCelvaneView.h"
#include "view/tools/FrameUndo.h"
#include "view/tools/ViewTools.h"

using namespace celvane;

namespace {
struct Program : test::StartedProgram {
    explicit Program(const test::ProgramOptions& options = {}) : StartedProgram(options) {}
    std::string title() { return frame().windowTitle().toStdString(); }
};
} // namespace

TEST(MainWindow, TitleRules)
{
    EXPECT_EQ(frameTitle(filmWindowTitle("walk.qfm", 1, 1, true), "Celvane"), "walk.qfm * - Celvane");
    EXPECT_EQ(frameTitle(filmWindowTitle("walk.qfm", 2, 2, false), "Celvane"), "walk.qfm:2 - Celvane");
    EXPECT_EQ(frameTitle("", "Celvane"), "Celvane");
}

TEST(MainWindow, StartsOnANewUntitledFilmWithTheStatusBarHidden)
{
    Program p;
    ASSERT_NE(p.frame().activeView(), nullptr);
    EXPECT_EQ(p.title(), "AFilm1 - Celvane");
    EXPECT_FALSE(p.frame().statusBar()->isVisible());
    EXPECT_EQ(p.view().film()->frameCount(), 1);
    EXPECT_TRUE(p.frame().commandState(ID_FILE_SAVE).enabled);
    EXPECT_FALSE(p.frame().commandState(ID_FILE_MRU_FILE1).enabled);

    EXPECT_TRUE(p.frame().runCommand(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(Settings::instance().getFlag("Settings", "StatusBar", false));
    EXPECT_TRUE(p.frame().commandState(ID_VIEW_STATUS_BAR).checked);
    p.frame().runCommand(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(Settings::instance().getFlag("Settings", "StatusBar", true));
    EXPECT_TRUE(p.sink.shown.empty());
}

TEST(MainWindow, SaveAsOpenAndRecentFiles)
{
    Program p;
    const std::string path = p.dir.file("walk.qfm");
    p.chooser.paths.push_back(p.dir.file("walk")); // the extension is added
    EXPECT_TRUE(p.frame().runCommand(ID_FILE_SAVE));
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(p.title(), "walk.qfm - Celvane");
    EXPECT_TRUE(p.frame().commandState(ID_FILE_MRU_FILE1).enabled);
    // The list is in the settings file at once, and again after each open: a program that dies
    // keeps it too.
    const auto firstRecent = [] { return Settings(Settings::instance().path()).getString("Recent File List", "File1", ""); };
    EXPECT_EQ(firstRecent(), path);
    Settings(Settings::instance().path()).writeString("Recent File List", "File1", "");

    // Zooming does not change the film; a modified film asks before it is replaced.
    p.view().film()->markCurrentModified();
    p.frame().updateTitle();
    EXPECT_EQ(p.title(), "walk.qfm * - Celvane");
    p.sink.answers.push_back(MessageAnswer::Cancel);
    p.frame().runCommand(ID_FILE_NEW);
    EXPECT_EQ(p.sink.shown.back(), "Save changes to walk.qfm?");
    EXPECT_EQ(p.title(), "walk.qfm * - Celvane");
    p.sink.answers.push_back(MessageAnswer::No);
    p.frame().runCommand(ID_FILE_NEW);
    EXPECT_EQ(p.title(), "AFilm2 - Celvane");

    p.frame().runCommand(ID_FILE_MRU_FILE1);
    EXPECT_EQ(p.title(), "walk.qfm - Celvane");
    EXPECT_EQ(firstRecent(), path);

    // A file that cannot be read is reported and leaves the open film alone.
    const std::string bad = p.dir.file("bad.qfm");
    test::writeText(bad, "not a film");
    p.chooser.paths.push_back(bad);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_EQ(p.sink.shown.back(), "Failed to open document.\nbad.qfm: Not a film");
    EXPECT_EQ(p.title(), "walk.qfm - Celvane");
}

TEST(MainWindow, ZoomKeysChangeTheScaleShown)
{
    Program p;
    EXPECT_EQ(p.view().scale(), 100);
    p.frame().runCommand(ID_ZOOM_IN);
    EXPECT_EQ(p.view().scale(), 200);
    p.frame().runCommand(ID_ZOOM_OUT);
    p.frame().runCommand(ID_ZOOM_OUT);
    EXPECT_EQ(p.view().scale(), 50);
}

TEST(MainWindow, FrameCommandsAddDeleteCopyPasteAndMark)
{
    Program p;
    CMainFrame& f = p.frame();
    f.runCommand(ID_FRAME_NEW);
    f.runCommand(ID_FRAME_NEW);
    Film* film = p.view().film();
    EXPECT_EQ(film->frameCount(), 3);
    EXPECT_EQ(p.view().currentFrame(), 2);
    EXPECT_FALSE(f.commandState(ID_CLEAR_SELECTION).enabled);

    // Delete asks first; cancelling keeps the frame.
    p.sink.answers.push_back(MessageAnswer::Cancel);
    f.runCommand(ID_FRAME_DELETE);
    EXPECT_EQ(p.sink.shown.back(), "The current frame will be deleted, without being copied to the clipboard. Undo "
                                   "brings it back.  Do you want to delete it?");
    EXPECT_EQ(film->frameCount(), 3);

    f.runCommand(ID_FRAME_MARK);
    EXPECT_TRUE(film->isFrameSelected(2));
    EXPECT_TRUE(f.commandState(ID_CLEAR_SELECTION).enabled);
    f.runCommand(ID_EDIT_COPY);
    EXPECT_TRUE(f.commandState(ID_EDIT_PASTE).enabled);
    f.runCommand(ID_EDIT_PASTE);
    EXPECT_EQ(film->frameCount(), 4);
    EXPECT_EQ(p.view().currentFrame(), 3);

    f.runCommand(ID_SELECT_ALL);
    EXPECT_FALSE(f.commandState(ID_SELECT_ALL).enabled);
    p.sink.answers.push_back(MessageAnswer::Ok);
    f.runCommand(ID_FRAME_DELETE);
    EXPECT_NE(p.sink.shown.back().find("Undo brings them back."), std::string::npos);
    EXPECT_TRUE(film->isEmpty());
    EXPECT_EQ(p.view().currentFrame(), 0);
    EXPECT_NE(p.title().find(" *"), std::string::npos);
    f.runCommand(ID_EDIT_UNDO);
    EXPECT_EQ(film->frameCount(), 4);

    // A history of one step cannot bring frames back, and the question says so.
    ViewTools::of(&p.view())->undo().setLimits(UndoLimits{.steps = 1});
    f.runCommand(ID_SELECT_ALL);
    p.sink.answers.push_back(MessageAnswer::Ok);
    f.runCommand(ID_FRAME_DELETE);
    EXPECT_EQ(p.sink.shown.back().rfind("The selected frames will be deleted permanently", 0), 0u);
    EXPECT_TRUE(film->isEmpty());
}

TEST(MainWindow, AFailureInAnEventHandlerIsReportedAndTheProgramGoesOn)
{
    Program p;
    struct Failing : QObject {
        bool event(QEvent*) override { throw std::runtime_error("a fault in a handler"); }
    } failing;
    QEvent sent(QEvent::User);
    EXPECT_FALSE(QApplication::sendEvent(&failing, &sent));
    QApplication::postEvent(&failing, new QEvent(QEvent::User));
    QApplication::processEvents();
    ASSERT_EQ(p.sink.shown.size(), 2u);
    EXPECT_EQ(p.sink.shown[0].rfind("Internal error", 0), 0u) << p.sink.shown[0];
    p.frame().runCommand(ID_FRAME_NEW);
    EXPECT_EQ(p.view().film()->frameCount(), 2);
}

TEST(MainWindow, ShowsTheFrameOnItsSurround)
{
    Program p;
    p.frame().resize(900, 700);
    p.view().setScale(100);
    QApplication::processEvents();
    const QImage shot = p.view().viewport()->grab().toImage();
    if (const char* out = std::getenv("CELVANE_SCREENSHOT"))
        p.frame().grab().save(out);
    const Rect frame = p.view().layout().frameRect();
    ASSERT_FALSE(frame.isEmpty());
    // White paper inside the frame, the surround outside it.
    EXPECT_EQ(QColor(shot.pixel(frame.left + 5, frame.top + 5)), QColor(Qt::white));
    EXPECT_NE(QColor(shot.pixel(2, 2)), QColor(Qt::white));
}

TEST(MainWindow, BlackAndWhitePicturesFollowTheSetting)
{
    Program p;
    EXPECT_FALSE(p.frame().commandState(ID_VIEW_BLACK_WHITE).checked);
    p.frame().runCommand(ID_VIEW_BLACK_WHITE);
    EXPECT_TRUE(Settings::instance().getFlag("Settings", "BlackWhite", false));
    EXPECT_TRUE(p.frame().commandState(ID_VIEW_BLACK_WHITE).checked);
    // A settings change made elsewhere (the Choices sheet) reaches the frame too.
    Settings::instance().writeInt("Settings", "BlackWhite", 0);
    Settings::instance().writeInt("Settings", "StatusBar", 1);
    p.frame().settingsChanged(Hint::SettingsChanged);
    EXPECT_FALSE(p.frame().commandState(ID_VIEW_BLACK_WHITE).checked);
    EXPECT_TRUE(p.frame().statusBar()->isVisibleTo(&p.frame()));
}

TEST(MainWindow, SeveralFilmWindowsWhenNotSingleDocument)
{
    Program p({.singleDocument = false});
    test::RecordingSink& sink = p.sink;
    CelvaneApp& app = p.app;
    CMainFrame& frame = *app.mainFrame();
    frame.runCommand(ID_FILE_NEW);
    ASSERT_EQ(frame.views().size(), 2u);
    EXPECT_EQ(frame.windowTitle().toStdString(), "AFilm2 - Celvane");

    // Closing a modified film's last window asks first; cancelling keeps it.
    CCelvaneView* second = frame.activeView();
    const CCelvaneDoc* secondFilm = &second->document();
    second->film()->markCurrentModified();
    auto* sub = qobject_cast<QMdiSubWindow*>(second->parentWidget());
    ASSERT_NE(sub, nullptr);
    sink.answers.push_back(MessageAnswer::Cancel);
    sub->close();
    EXPECT_EQ(sink.shown.back(), "Save changes to AFilm2?");
    EXPECT_EQ(frame.views().size(), 2u);
    sink.answers.push_back(MessageAnswer::No);
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.views().size(), 1u);
    EXPECT_EQ(app.commandsFor(secondFilm), nullptr);
}

TEST(MainWindow, ExportWritesTheChosenKind)
{
    Program p;
    p.frame().runCommand(ID_FRAME_NEW);
    const std::string flc = p.dir.file("walk.flc");
    // The film has a folder once saved; a bare name typed goes there.
    p.chooser.paths.push_back(p.dir.file("walk.qfm"));
    p.frame().runCommand(ID_FILE_SAVE);
    test::answerExportDialog("walk.flc");
    p.frame().runCommand(ID_FILE_EXPORT);
    ASSERT_TRUE(std::filesystem::exists(flc));
    EXPECT_EQ(loadLE16(&readFile(flc)[6]), 2); // two frames

    // An existing file is replaced only when the user says so; No goes back to the dialog with
    // the name still there.
    const auto before = std::filesystem::last_write_time(flc);
    p.sink.answers.push_back(MessageAnswer::No);
    std::string keptName;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setPath(p.dir.file("walk"));
        dialog->setKind(*ExportOffer::forFilm().kindForPath("a.flc")); // whose extension makes the name walk.flc
        dialog->accept();
        if (dialog->isVisible())
            keptName = dialog->path();
        dialog->reject();
    });
    p.frame().runCommand(ID_FILE_EXPORT);
    ASSERT_FALSE(p.sink.shown.empty());
    EXPECT_EQ(p.sink.shown.back(), "walk.flc already exists.\nDo you want to replace it?");
    EXPECT_EQ(keptName, p.dir.file("walk"));
    EXPECT_EQ(std::filesystem::last_write_time(flc), before);
}

TEST(MainWindow, AnOpenedPictureAsksBeforeItsFirstSaveReplacesTheFilmOfThatName)
{
    Program p;
    const std::string film = p.dir.file("ball.qfm");
    p.chooser.paths.push_back(film);
    p.frame().runCommand(ID_FRAME_NEW);
    p.frame().runCommand(ID_FILE_SAVE);
    const Bytes saved = readFile(film);
    test::answerExportDialog(p.dir.file("ball.gif"));
    p.frame().runCommand(ID_FILE_EXPORT);
    p.chooser.paths.push_back(p.dir.file("ball.gif"));
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.title(), "ball.qfm * - Celvane");

    // No: the name is asked for; giving none keeps the film that was there.
    p.sink.answers.push_back(MessageAnswer::No);
    p.frame().runCommand(ID_FILE_SAVE);
    ASSERT_FALSE(p.sink.shown.empty()) << "replaced without asking";
    EXPECT_EQ(p.sink.shown.back(), "ball.qfm already exists.\nDo you want to replace it?");
    EXPECT_EQ(readFile(film), saved);
    EXPECT_EQ(p.title(), "ball.qfm * - Celvane");

    p.sink.answers.push_back(MessageAnswer::Yes);
    p.frame().runCommand(ID_FILE_SAVE);
    EXPECT_EQ(p.title(), "ball.qfm - Celvane");
    EXPECT_NE(readFile(film), saved);
    // Once saved it is that film, saved without a question.
    const size_t asked = p.sink.shown.size();
    p.frame().runCommand(ID_FRAME_NEW);
    p.frame().runCommand(ID_FILE_SAVE);
    EXPECT_EQ(p.sink.shown.size(), asked);
    EXPECT_EQ(p.title(), "ball.qfm - Celvane");

    // A name typed without its extension is asked about too.
    p.chooser.paths.push_back(p.dir.file("ball"));
    p.sink.answers.push_back(MessageAnswer::No);
    const Bytes resaved = readFile(film);
    p.frame().runCommand(ID_FRAME_NEW);
    p.frame().runCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(p.sink.shown.back(), "ball.qfm already exists.\nDo you want to replace it?");
    EXPECT_EQ(readFile(film), resaved);
}

TEST(MainWindow, FileMessagesSayWhichFileAndWhy)
{
    Program p;
    p.chooser.paths.push_back(p.dir.file("gone.qfm"));
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_EQ(p.sink.shown.back(), "I/O error (file)\ngone.qfm: No such file or directory");

    const std::string notes = p.dir.file("notes.txt");
    test::writeText(notes, "shopping list");
    p.chooser.paths.push_back(notes);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_EQ(p.sink.shown.back().rfind("\nnotes.txt"), p.sink.shown.back().find('\n'))
        << p.sink.shown.back();

    // Saving where no folder can be: the film stays unsaved and says so.
    p.frame().runCommand(ID_FRAME_NEW);
    p.chooser.paths.push_back(notes + "/walk.qfm");
    p.frame().runCommand(ID_FILE_SAVE);
    EXPECT_EQ(p.sink.shown.back(), "I/O error (file)\nwalk.qfm: Not a directory");
    EXPECT_EQ(p.title(), "AFilm1 * - Celvane");
}

TEST(MessageBoxes, AreWideEnoughForTheirTitle)
{
    test::BoxPresser boxes;
    Reporter::setSink(&boxes);
    Reporter::message("Done.");
    Reporter::setSink(nullptr);
    ASSERT_EQ(boxes.seen.size(), 1u);
    QWidget titled;
    titled.setWindowTitle("Celvane");
    EXPECT_GE(boxes.seen[0].width, widthForTitle(titled));
}

TEST(MainWindow, FrameCommandsStopPlaybackFirst)
{
    Program p;
    CMainFrame& f = p.frame();
    f.runCommand(ID_FRAME_NEW);
    f.runCommand(ID_FRAME_NEW);
    f.runCommand(ID_MOTION_LOOP);
    const Playback& playback = PlaybackController::of(&p.view())->playback();
    for (const int id : {ID_FRAME_NEW, ID_FRAME_DUPLICATE, ID_FRAME_BLANK, ID_EDIT_COPY, ID_EDIT_PASTE,
                         ID_FRAME_MARK, ID_SELECT_ALL, ID_CLEAR_SELECTION, ID_EDIT_CUT, ID_FRAME_DELETE}) {
        SCOPED_TRACE(id);
        f.runCommand(ID_PLAY_FORWARDS);
        test::waitUntil([] { return false; }, 30); // a few steps
        ASSERT_TRUE(playback.playing());
        const int frames = p.view().film()->frameCount();
        p.sink.answers.push_back(MessageAnswer::Cancel); // Delete asks; the film stops before the question
        f.runCommand(id);
        EXPECT_FALSE(playback.playing());
        p.sink.answers.clear();
        const int current = p.view().currentFrame();
        test::waitUntil([] { return false; }, 30);
        EXPECT_EQ(p.view().currentFrame(), current);
        EXPECT_EQ(p.view().film()->frameCount(), frames + (id == ID_FRAME_NEW || id == ID_FRAME_DUPLICATE
                                                           || id == ID_EDIT_PASTE) - (id == ID_EDIT_CUT));
    }
}

TEST(MainWindow, FitWindowToFilmWithSeveralWindowsFollowsTheFilmWindow)
{
    Program p({.filmWidth = 640, .filmHeight = 480, .window = {600, 500}, .singleDocument = false});
    CCelvaneView& view = p.view();
    auto* sub = qobject_cast<QMdiSubWindow*>(view.parentWidget());
    ASSERT_NE(sub, nullptr);
    const QSize needed = view.neededClientSize();

    // A maximised film window fills the frame: the frame changes size.
    sub->showMaximized();
    QApplication::processEvents();
    p.frame().runCommand(ID_VIEW_FIT_WINDOW);
    QApplication::processEvents();
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(view.viewport()->size(), needed);

    // A film window of its own size in a maximised frame: only the film window changes.
    sub->showNormal();
    sub->resize(500, 400);
    p.frame().showMaximized();
    QApplication::processEvents();
    const QSize frameSize = p.frame().size();
    p.frame().runCommand(ID_VIEW_FIT_WINDOW);
    QApplication::processEvents();
    EXPECT_TRUE(p.frame().isMaximized());
    EXPECT_EQ(p.frame().size(), frameSize);
    EXPECT_EQ(view.viewport()->size(), needed);
}

TEST(MainWindow, ScrollBarArrowsMoveATenthOfTheViewAndPagesAWholeView)
{
    Program p({.filmWidth = 640, .filmHeight = 480, .scale = 400, .window = {900, 700}});
    CCelvaneView& view = p.view();
    for (QScrollBar* bar : {view.horizontalScrollBar(), view.verticalScrollBar()}) {
        const bool across = bar == view.horizontalScrollBar();
        const int client = across ? view.viewport()->width() : view.viewport()->height();
        const auto scroll = [&] { return across ? view.layout().scrollX() : view.layout().scrollY(); };
        bar->setValue(0); // room to scroll a page and more, wherever the window started
        const int start = scroll();
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(scroll() - start, client / 10);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(scroll() - start, client / 10 + client);
    }
}

TEST(MainWindow, AHandEditedDefaultFilmWithBadValuesGivesTheUsualFilm)
{
    Program p;
    p.frame().runCommand(ID_FILE_NEW);
    const Film& usual = *p.view().film();
    const int width = usual.width(), height = usual.height(), depth = usual.bitsPerPixel();
    Settings& s = Settings::instance();
    s.writeInt("Settings", "UserDefaultFilm", 1);
    s.writeInt("Default", "Width", -500);
    s.writeInt("Default", "Height", 99999999);
    s.writeString("Default", "Depth", "abc");
    s.writeInt("Default", "PlaySpeed", 0);
    p.frame().runCommand(ID_FILE_NEW);
    const Film& film = *p.view().film();
    EXPECT_EQ(film.width(), width);
    EXPECT_EQ(film.height(), height);
    EXPECT_EQ(film.bitsPerPixel(), depth);
    EXPECT_EQ(film.period(), 80);
}

TEST(MainWindow, FilmWindowsCarryTheirFilmsTitleAndEveryWindowTheProgramsIcon)
{
    Program p({.singleDocument = false});
    CMainFrame& frame = p.frame();
    frame.runCommand(ID_FILE_NEW);
    frame.runCommand(ID_FRAME_NEW); // in the second film
    const auto titles = [&] {
        std::vector<std::string> t;
        for (CCelvaneView* v : frame.views())
            t.push_back(v->parentWidget()->windowTitle().toStdString());
        return t;
    };
    EXPECT_EQ(titles(), (std::vector<std::string>{"AFilm1", "AFilm2 *"}));
    EXPECT_EQ(p.title(), "AFilm2 * - Celvane");
    // A maximised film window adds nothing to the frame's title.
    p.view().parentWidget()->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(p.title(), "AFilm2 * - Celvane");
    p.view().parentWidget()->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(titles()[1], "AFilm2 *");
    EXPECT_EQ(p.title(), "AFilm2 * - Celvane");

    const QImage icon = QIcon(":/icons/celvane.svg").pixmap(32).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(frame.windowIcon().pixmap(32).toImage(), icon);
    for (CCelvaneView* v : frame.views())
        EXPECT_EQ(v->parentWidget()->windowIcon().pixmap(32).toImage(), icon);
}

TEST(MainWindow, TheIconIsInstalledScalableAndAt48Pixels)
{
    test::ensureApplication();
    test::TempDir dir;
    const std::string command = "cmake --install \"" CELVANE_BINARY_DIR "\" --component icons --prefix \"" + dir.path().string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::filesystem::path hicolor = dir.path() / "share/icons/hicolor";
    EXPECT_TRUE(QIcon(QString::fromStdString((hicolor / "scalable/apps/celvane.svg").string())).pixmap(48).toImage().pixelColor(24, 24).alpha() > 0);
    const QImage fixed(QString::fromStdString((hicolor / "48x48/apps/celvane.png").string()));
    EXPECT_EQ(fixed.size(), QSize(48, 48));
    EXPECT_GT(fixed.pixelColor(24, 24).alpha(), 0);
}

namespace {
// Controls a person uses, as a screen reader names them.
bool usable(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton: case QAccessible::CheckBox: case QAccessible::RadioButton:
    case QAccessible::MenuItem: case QAccessible::Slider: case QAccessible::ListItem:
    case QAccessible::EditableText: case QAccessible::ComboBox: case QAccessible::SpinBox:
    case QAccessible::ButtonMenu: case QAccessible::ButtonDropDown: case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

// Every element below `a`, depth first, as a screen reader walks it.
void walk(QAccessibleInterface* a, const std::function<void(QAccessibleInterface*)>& visit, int depth = 0)
{
    if (!a || !a->isValid() || depth > 30)
        return;
    visit(a);
    for (int i = 0; i < a->childCount(); ++i)
        walk(a->child(i), visit, depth + 1);
}

QAccessibleInterface* findNamed(QWidget& window, const QString& name, QAccessible::Role role)
{
    QAccessibleInterface* found = nullptr;
    walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface* a) {
        if (!found && a->role() == role && a->text(QAccessible::Name) == name)
            found = a;
    });
    return found;
}
} // namespace

// The main window, the toolbox, every tool panel and both pickers as a screen reader meets
// them: each control has words to speak (never an object's id, a mnemonic's '&' or the keys
// after a tab), and the painted ones (palette cells, picker entries, the film strip and the
// film) are there with their places, so that they can be found, pressed and clicked.
TEST(MainWindow, EveryControlHasANameAScreenReaderCanSpeak)
{
    Program p({.filmWidth = 160, .filmHeight = 120, .filmDepth = 8, .window = {1000, 720}});
    p.view().film()->insertFrame(1, false);
    p.view().goToFrame(1);
    p.frame().show();
    CTools& tools = *p.frame().toolbox();
    for (int tool = 0; tool < ToolBox::kCount; ++tool)
        if (CToolPanel* panel = tools.panel(tool))
            panel->showAt(QPoint(0, 0));
    p.frame().stampPicker().show(false);
    CSoundPicker& sounds = p.frame().soundPicker();
    sounds.window().showPicker();
    p.frame().runCommand(ID_TOOL_SOUND); // the sound tools' bar and menu
    p.frame().findChild<CColourPalette*>()->openEditor(PaintingColour::Pencil);
    QApplication::processEvents();

    const QRegularExpression objectId("^[A-Z][A-Z0-9]*_[A-Z0-9_]+$"), mnemonic("&\\S");
    std::vector<std::string> unnamed;
    std::set<std::pair<int, QString>> named;
    const auto check = [&](QWidget& window) {
        walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface* a) {
            const QString name = a->text(QAccessible::Name);
            named.insert({a->role(), name});
            if (usable(a->role())
                && (name.trimmed().isEmpty() || name.contains(mnemonic) || name.contains('\t') || objectId.match(name).hasMatch()))
                unnamed.push_back(window.windowTitle().toStdString() + ": role " + std::to_string(a->role())
                                  + " named \"" + name.toStdString() + "\" ("
                                  + (a->object() ? a->object()->metaObject()->className() : "no object") + ")");
        });
    };
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            check(*window);
    // Each dialog as it comes up.
    const auto checkDialog = [&](const char* what, const std::function<void()>& open) {
        bool seen = false;
        QTimer answer;
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                check(*dialog);
                dialog->reject();
                seen = true;
            }
        });
        answer.start(0);
        open();
        EXPECT_TRUE(seen) << "no dialog for " << what;
    };
    for (int id : {ID_FILE_NEW_FILM, ID_FILE_IMPORT, ID_FILE_EXPORT, ID_FILE_SUMMARY, ID_FILE_PRINT, ID_VIEW_CHOICES, ID_VIEW_ZOOM,
                   ID_VIEW_GRID, ID_GO_TO_FRAME, ID_FADE_PAUSE, ID_FILM_SPEED})
        checkDialog(findCommand(id)->name, [&] { p.frame().runCommand(id); });
    checkDialog("Record", [&] { p.frame().soundTools()->record(); });
    sounds.select(PickerSelect::Select, 0);
    checkDialog("Save Sounds", [&] { sounds.save(); });
    checkDialog("Rename", [&] { sounds.renameSelected(); });
    sounds.putInFrame();
    checkDialog("Sound Effect", [&] { p.frame().soundTools()->editEffect(); });
    EXPECT_EQ(unnamed, std::vector<std::string>{});
    for (const auto& [role, name] :
         std::vector<std::pair<int, QString>>{{QAccessible::PushButton, "New film"},
                                              {QAccessible::PushButton, "Zoom in"},
                                              {QAccessible::PushButton, "Undo"},
                                              {QAccessible::MenuItem, "Undo"},
                                              {QAccessible::Slider, "Film speed"},
                                              {QAccessible::ListItem, "Colour 12"},
                                              {QAccessible::ListItem, "Footstep"}})
        EXPECT_TRUE(named.count({role, name})) << name.toStdString() << " (role " << role << ")";

    // The strip and the film say which frame is shown.
    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(p.frame().findChild<CPlayTool*>()->stripWidget());
    EXPECT_EQ(strip->text(QAccessible::Name), "Frame 2 of 2");
    QAccessibleInterface* film = QAccessible::queryAccessibleInterface(&p.view());
    EXPECT_EQ(film->text(QAccessible::Name), "Film");
    EXPECT_EQ(film->text(QAccessible::Description), "Frame 2 of 2");
    QAccessibleInterface* frame = findNamed(p.view(), "Frame 2 of 2", QAccessible::Graphic);
    ASSERT_NE(frame, nullptr);
    const Rect drawn = p.view().layout().frameRect();
    EXPECT_EQ(frame->rect(), QRect(p.view().viewport()->mapToGlobal(QPoint(drawn.left, drawn.top)),
                                   QSize(drawn.width(), drawn.height())));

    // A picker entry is where its icon is drawn, and pressing it picks the sound.
    QAccessibleInterface* footstep = findNamed(sounds.window(), "Footstep", QAccessible::ListItem);
    ASSERT_NE(footstep, nullptr);
    int entry = 0;
    while (entry < sounds.itemCount() && sounds.describe(entry).name != "Footstep")
        ++entry;
    const int links = int(sounds.window().folders().links().size());
    const QPoint icon = sounds.window().entriesWidget()->mapToGlobal(test::iconCentre(sounds.window(), links + entry));
    EXPECT_TRUE(footstep->rect().contains(icon));
    footstep->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(sounds.describe(entry).selected);
    EXPECT_TRUE(footstep->state().selected);

    // A palette cell chooses the pencil colour as a click does.
    QAccessibleInterface* cell = findNamed(*p.frame().findChild<CColourPalette*>(), "Colour 12", QAccessible::ListItem);
    ASSERT_NE(cell, nullptr);
    cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(indexOfWord(p.view().film()->ink()), 12);
}
