#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/SingleInstance.h"
#include "base/CommandIds.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {
std::string titleOf(const test::StartedProgram& p) { return p.frame().windowTitle().toStdString(); }

// A saved one-frame film for a second start to name.
std::string savedFilm(const test::TempDir& dir, const std::string& name)
{
    CCelvaneDoc doc;
    doc.newDocument(ImageInfo::forFilm(40, 30, 8));
    const std::string path = dir.file(name);
    doc.save(path);
    return path;
}

// The program started again, as from a file manager or the menu, naming `path` (or nothing).
void startAgain(const std::string& path)
{
    SingleInstance second;
    EXPECT_FALSE(second.becomePrimary(path)) << "the running program takes the request";
}
} // namespace

TEST(StartUp, AFilmThatCannotBeOpenedIsReportedInFrontOfTheSplash)
{
    test::BoxPresser boxes;
    // Pressed only once the splash has gone, as a person reading the message would.
    boxes.presses.push_back({QMessageBox::Ok, [] { return !test::splashVisible(); }});
    test::TempDir dir;
    test::StartedProgram p({.arguments = {QString::fromStdString(dir.file("no-such.qfm"))},
                            .splash = true,
                            .messages = &boxes});
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text.rfind("I/O error (file)", 0), 0u);
    EXPECT_FALSE(boxes.seen[0].splashVisible) << "the message was hidden behind the splash";
    // The program goes on with a film to draw on.
    ASSERT_NE(p.frame().activeView(), nullptr);
    EXPECT_TRUE(p.frame().isVisible());
}

TEST(SecondStart, AFileNamedAgainAsksAboutUnsavedChangesAndEachAnswerKeepsTheWork)
{
    for (const auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
        SCOPED_TRACE(button);
        test::BoxPresser boxes;
        // A person reads the question before answering; the program goes on meanwhile.
        auto reading = std::make_shared<QElapsedTimer>();
        boxes.presses.push_back({button, [reading] {
                                     if (!reading->isValid())
                                         reading->start();
                                     return reading->elapsed() > 300;
                                 }});
        test::StartedProgram p({.messages = &boxes});
        const std::string other = savedFilm(p.dir, "other.qfm");
        const std::string mine = p.dir.file("mine.qfm");
        p.chooser.paths.push_back(mine); // Yes saves the untitled film under this name
        p.frame().runCommand(ID_FRAME_NEW);
        ASSERT_EQ(titleOf(p), "AFilm1 * - Celvane");

        startAgain(other);
        ASSERT_TRUE(test::waitUntil([&] { return !boxes.seen.empty() && !QApplication::activeModalWidget(); }));
        test::waitUntil([] { return false; }, 100); // whatever the answer left to do
        EXPECT_EQ(boxes.seen[0].text, "Save changes to AFilm1?");

        if (button == QMessageBox::Cancel) {
            EXPECT_EQ(titleOf(p), "AFilm1 * - Celvane");
            EXPECT_EQ(p.view().film()->frameCount(), 2);
        } else {
            EXPECT_EQ(titleOf(p), "other.qfm - Celvane");
            EXPECT_EQ(std::filesystem::exists(mine), button == QMessageBox::Yes);
        }
        if (button == QMessageBox::Yes) {
            CCelvaneDoc saved;
            saved.open(mine);
            EXPECT_EQ(saved.film()->frameCount(), 2);
        }
    }
}

TEST(SecondStart, NamingNothingGivesANewFilm)
{
    test::StartedProgram p;
    startAgain("");
    ASSERT_TRUE(test::waitUntil([&] { return titleOf(p) == "AFilm2 - Celvane"; }));
    EXPECT_TRUE(p.sink.shown.empty());
}

TEST(SecondStart, AFileHandedOverWhileADialogIsOpenWaitsForIt)
{
    test::StartedProgram p;
    const std::string other = savedFilm(p.dir, "other.qfm");
    p.frame().runCommand(ID_FRAME_NEW);
    p.sink.answers.push_back(MessageAnswer::No); // then: do not save AFilm1
    std::string titleDuringDialog;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        startAgain(other);
        test::waitUntil([] { return false; }, 400); // the dialog's own loop runs meanwhile
        titleDuringDialog = titleOf(p);
        dialog->close();
    });
    p.frame().runCommand(ID_FILE_EXPORT);
    EXPECT_EQ(titleDuringDialog, "AFilm1 * - Celvane") << "the film went while its Export dialog was up";
    ASSERT_TRUE(test::waitUntil([&] { return titleOf(p) == "other.qfm - Celvane"; }));
}
