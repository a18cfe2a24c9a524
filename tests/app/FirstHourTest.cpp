// What a child or teacher meets in the first hour: colours in reach, bars that stay where they
// were put, big films that fit the screen, and the keys people expect.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QBuffer>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QRegularExpression>
#include <QToolButton>
#include <set>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "DrawingProgram.h"
#include "QtTestSupport.h"
#include "app/CColourPalette.h"
#include "app/CStampPicker.h"
#include "app/CToolPanel.h"
#include "app/CTools.h"
#include "app/ExportDialog.h"
#include "app/Help.h"
#include "app/HelpWindow.h"
#include "app/ImportOptionsDialog.h"
#include "app/picker/CPickerWindow.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"
#include "playback/CPlayTool.h"
#include "view/CCelvaneView.h"
#include "view/tools/ToolBox.h"

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
    test::ensureApplication();
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
    QApplication::processEvents(); // no waiting for the idle refresh: Undo is ready at once
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

namespace {
// The real "Import Options" sheet, answered by a person once it is up: `choose` ticks what the
// person ticks; no `choose` presses Cancel.
void answerSheet(std::function<void(ImportOptionsDialog&)> choose)
{
    ImportOptionsQuestion::set(nullptr);
    QTimer::singleShot(0, [choose] {
        auto* sheet = qobject_cast<ImportOptionsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        if (!choose) {
            sheet->reject();
            return;
        }
        choose(*sheet);
        sheet->accept();
    });
}

void tick(QWidget& window, const QString& text)
{
    // Access keys aside.
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        if (b->text().remove('&') == QString(text).remove('&'))
            b->setChecked(true);
}

} // namespace

TEST(FirstHour, PastedFramesAskHowTheyJoinTheFilmAndCanBecomeTheBackground)
{
    test::DrawingProgram p;
    p.drawLine({20, 20}, {120, 20});
    p.frame().runCommand(ID_EDIT_COPY);
    p.frame().runCommand(ID_FRAME_NEW);
    p.drawLine({100, 50}, {100, 120});
    const uint32_t ink = p.shown({100, 80});
    ASSERT_NE(ink, p.shown({50, 20})); // frame 2 has only its own line

    // As the background of the current frame: the copied line shows behind this frame's own.
    answerSheet([](ImportOptionsDialog& sheet) {
        tick(sheet, "As &Background");
        tick(sheet, "Current frame");
    });
    p.frame().runCommand(ID_EDIT_PASTE);
    EXPECT_EQ(p.film().frameCount(), 2);
    EXPECT_EQ(p.view().currentFrame(), 1);
    EXPECT_EQ(p.shown({50, 20}), ink);
    EXPECT_EQ(p.shown({100, 80}), ink);

    // Cancelled: nothing changes.
    answerSheet(nullptr);
    p.frame().runCommand(ID_EDIT_PASTE);
    EXPECT_EQ(p.film().frameCount(), 2);

    // The sheet offers what was chosen last; untick it and the frame comes in after this one.
    answerSheet([](ImportOptionsDialog& sheet) {
        EXPECT_TRUE(sheet.options().asBackground);
        sheet.setAsBackground(false);
    });
    p.frame().runCommand(ID_EDIT_PASTE);
    EXPECT_EQ(p.film().frameCount(), 3);
    EXPECT_EQ(p.view().currentFrame(), 2);
    EXPECT_EQ(p.shown({50, 20}), ink);
    EXPECT_NE(p.shown({100, 80}), ink);
}

TEST(FirstHour, FilesDroppedOnTheFilmJoinItThoseOnTheWindowOpen)
{
    test::DrawingProgram p;
    QImage picture(100, 75, QImage::Format_RGB32);
    picture.fill(Qt::black); // shows on white paper
    const std::string png = p.dir.file("black.png");
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    const uint32_t paper = p.shown({50, 50});

    // On a new film's window: asked first, then new frames; the first takes the place of the
    // blank frame and the next comes after it, not over it.
    p.importOptions.answers.push_back(std::nullopt); // cancelled
    test::dropFiles(*p.view().viewport(), {QString::fromStdString(png)});
    EXPECT_EQ(p.importOptions.asked, 1);
    EXPECT_EQ(p.film().frameCount(), 1);
    test::dropFiles(*p.view().viewport(), {QString::fromStdString(png), QString::fromStdString(png)});
    EXPECT_EQ(p.importOptions.asked, 3);
    EXPECT_EQ(p.film().frameCount(), 2);
    EXPECT_EQ(p.view().currentFrame(), 1);
    EXPECT_NE(p.shown({50, 50}), paper);

    // On the main window: the file opens as a film of its own.
    CCelvaneDoc* before = &p.view().document();
    p.sink.answers.push_back(MessageAnswer::No); // not saving the film shown so far
    test::dropFiles(p.frame(), {QString::fromStdString(png)});
    EXPECT_NE(&p.view().document(), before);
    EXPECT_EQ(p.view().film()->width(), 100);
    EXPECT_EQ(p.importOptions.asked, 3);
}

TEST(FirstHour, FileDialogsStartWhereThePersonIsAndExportKeepsItsKind)
{
    test::StartedProgram p({.filmWidth = 40, .filmHeight = 30, .window = {600, 500}});
    const std::filesystem::path work = p.dir.path() / "class";
    std::filesystem::create_directories(work);

    // Nothing chosen yet: the home folder.
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.chooser.folders.size(), 1u);
    EXPECT_EQ(p.chooser.folders.back(), QDir::homePath().toStdString());

    // Saved into a folder: Open, Import and Export start there.
    p.chooser.paths.push_back((work / "walk.qfm").string());
    p.frame().runCommand(ID_FILE_SAVE_AS);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_EQ(p.chooser.folders.back(), work.string());
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text().remove(QLatin1Char('&')) == "Browse...")
                b->click();
        qobject_cast<QDialog*>(dialog)->reject();
    });
    p.frame().runCommand(ID_FILE_IMPORT);
    EXPECT_EQ(p.chooser.folders.back(), work.string());
    std::string suggested;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        suggested = dialog->path();
        dialog->findChild<QComboBox*>()->setCurrentIndex(*ExportOffer::forFilm().kindForPath("a.flc"));
        dialog->accept();
    });
    p.frame().runCommand(ID_FILE_EXPORT);
    EXPECT_EQ(suggested, (work / "walk.gif").string());
    EXPECT_TRUE(std::filesystem::exists(work / "walk.flc"));

    // A new film has no folder: the last one used. Export offers the kind chosen last.
    p.frame().runCommand(ID_FILE_NEW);
    p.frame().runCommand(ID_FILE_OPEN);
    EXPECT_EQ(p.chooser.folders.back(), work.string());
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ExportDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        suggested = dialog->path();
        EXPECT_EQ(exportKinds()[size_t(dialog->kind())].kind, ExportKind::Flic);
        dialog->reject();
    });
    p.frame().runCommand(ID_FILE_EXPORT);
    EXPECT_EQ(std::filesystem::path(suggested).parent_path(), work);
    EXPECT_EQ(std::filesystem::path(suggested).extension(), ".flc");
}

TEST(FirstHour, ButtonsShowWhatTheyDoAndGreyedOutOnesSayWhy)
{
    test::DrawingProgram p;
    CMainFrame& frame = p.frame();
    // The pencil's panel: every shape and tip is a picture of its own, none a bare number.
    frame.toolbox()->choose(ToolBox::Pencil, false);
    frame.toolbox()->choose(ToolBox::Pencil, false); // the second press opens the panel
    CToolPanel& panel = *frame.toolbox()->panel(ToolBox::Pencil);
    std::set<QByteArray> pictures;
    int shapes = 0;
    for (QToolButton* b : panel.findChildren<QToolButton*>()) {
        bool number = false;
        b->text().toInt(&number);
        EXPECT_FALSE(number) << b->text().toStdString();
        ASSERT_FALSE(b->icon().isNull()) << b->toolTip().toStdString();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        b->icon().pixmap(24, 24).toImage().save(&buffer, "PNG");
        pictures.insert(bytes);
        shapes += b->toolTip() == "Filled ellipse" || b->toolTip() == "Connected lines";
    }
    EXPECT_EQ(shapes, 2);
    EXPECT_EQ(pictures.size(), panel.findChildren<QToolButton*>().size()); // the pin among them

    // Undo is greyed out on a fresh frame and says why, on its button and in its menu.
    frame.refreshCommandStates();
    QAction* undo = menuItem(frame, "&Undo");
    ASSERT_NE(undo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(undo->toolTip().contains("Nothing on this frame to undo")) << undo->toolTip().toStdString();
    p.drawLine({20, 20}, {80, 20});
    frame.refreshCommandStates();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->toolTip(), "Undo");
}

TEST(FirstHour, TheFilmStripLooksLikeFilmAndChangesItsGateWhilePlaying)
{
    test::DrawingProgram p;
    p.frame().runCommand(ID_FRAME_NEW);
    p.frame().runCommand(ID_FRAME_NEW);
    QWidget* strip = p.frame().findChild<CPlayTool*>()->stripWidget();
    const QImage still = strip->grab().toImage();
    // Sprocket holes along the top edge: light spots on the dark film.
    int holes = 0;
    for (int x = 1; x < still.width(); ++x)
        holes += qGray(still.pixel(x, 1)) > qGray(still.pixel(x - 1, 1)) + 40;
    EXPECT_GE(holes, 5);
    p.frame().runCommand(ID_PLAY_FORWARDS);
    const QImage playing = strip->grab().toImage();
    p.frame().runCommand(ID_PLAY_STOP);
    EXPECT_NE(still, playing);
}

// Stands in for the desktop's browser.
class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

// Every page of the guide is there with its picture, and every link and picture in any page leads
// to something that is there.
void expectWholeGuide()
{
    QStringList pages{"index"};
    for (const Help::Topic& topic : Help::topics())
        pages << topic.page;
    const QDir folder(QString::fromStdString(Help::guideFolder().string()));
    const QRegularExpression links("(href|src)=\"([^\"]+)\"");
    for (const QString& name : pages) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name + ".html"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        if (name != "index") {
            EXPECT_GT(QImage(folder.filePath(name + ".png")).width(), 50);
            EXPECT_TRUE(html.contains("src=\"" + name + ".png\""));
        }
        for (const auto& link : links.globalMatch(html)) {
            const QString target = link.captured(2);
            const QString path = target.section('#', 0, 0);
            const QString anchor = target.section('#', 1);
            ASSERT_TRUE(folder.exists(path)) << target.toStdString();
            if (!anchor.isEmpty()) {
                QFile linked(folder.filePath(path));
                ASSERT_TRUE(linked.open(QIODevice::ReadOnly));
                EXPECT_TRUE(linked.readAll().contains(("id=\"" + anchor + "\"").toUtf8())) << target.toStdString();
            }
        }
    }
}

TEST(FirstHour, HelpOpensInsideTheProgramOnThePageOfTheWindowInFront)
{
    test::StartedProgram p({.filmWidth = 40, .filmHeight = 30});
    expectWholeGuide();
    CMainFrame& frame = p.frame();
    // With no browser on the machine, F1 opens the guide all the same.
    Browser browser;
    QDesktopServices::setUrlHandler("file", &browser, "open");
    QApplication::setActiveWindow(&frame);
    QTest::keyClick(&frame, Qt::Key_F1);
    auto* help = frame.findChild<HelpWindow*>();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->page(), "index");
    EXPECT_TRUE(browser.opened.empty());

    // Contents, back and forward, and words found in the page.
    auto* contents = help->findChild<QListWidget*>();
    ASSERT_EQ(contents->count(), int(Help::topics().size()));
    contents->setCurrentRow(3);
    EXPECT_EQ(help->page(), Help::topics()[3].page);
    help->browser()->setSource(help->browser()->source().resolved(QUrl("undo.html"))); // a link followed
    EXPECT_EQ(contents->currentItem()->text(), "Undo and recovery copies");
    help->browser()->backward();
    EXPECT_EQ(help->page(), Help::topics()[3].page);
    help->browser()->forward();
    EXPECT_EQ(help->page(), "undo");
    auto* find = help->findChild<QLineEdit*>();
    find->setText("recovery copy");
    EXPECT_TRUE(help->findNext());
    EXPECT_TRUE(help->findNext()); // round to the first again
    EXPECT_EQ(help->browser()->textCursor().selectedText(), "recovery copy");
    find->setText("giraffe");
    EXPECT_FALSE(help->findNext());
    // The desktop's browser stays a choice.
    for (QAction* a : help->findChildren<QAction*>())
        if (a->text() == "Open in web browser")
            a->trigger();
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(QFileInfo(browser.opened.front().toLocalFile()).fileName(), "undo.html");
    QDesktopServices::unsetUrlHandler("file");

    // F1 in a picker or a tool panel opens its page.
    frame.stampPicker().show(false);
    QTest::keyClick(&frame.stampPicker().window(), Qt::Key_F1);
    EXPECT_EQ(help->page(), "stamps");
    frame.toolbox()->panel(ToolBox::Text)->show();
    QTest::keyClick(frame.toolbox()->panel(ToolBox::Text), Qt::Key_F1);
    EXPECT_EQ(help->page(), "text");
    // F1 in a dialog waiting for an answer opens its page in a window that takes clicks meanwhile.
    QString seen;
    bool usable = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F1);
        if (auto* inside = dialog->findChild<HelpWindow*>()) {
            seen = inside->page();
            usable = inside->isVisible(); // and inside the dialog, so not shut out by it
        }
        dialog->close();
    });
    frame.runCommand(ID_VIEW_CHOICES);
    EXPECT_EQ(seen, "choices");
    EXPECT_TRUE(usable);
    frame.runCommand(ID_HELP_CONTENTS);
    EXPECT_EQ(help->page(), "index");
    EXPECT_TRUE(p.sink.shown.empty());

    const QString about = Help::aboutText();
    for (const char* part : {"Celvane " CELVANE_VERSION, "Licence", "Qt", "FFmpeg"})
        EXPECT_TRUE(about.contains(part)) << part;
}

#include "FirstHourTest.moc"
