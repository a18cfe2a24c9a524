#include <gtest/gtest.h>

#include <QApplication>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "app/ImportOptionsDialog.h"
#include "view/TitleRoom.h"
#include "base/CommandIds.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "base/Settings.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {
using Program = test::StartedProgram;

void saveFilm(const std::string& path, int frames, int bits)
{
    CCelvaneDoc doc;
    doc.newDocument(ImageInfo::forFilm(16, 16, bits));
    for (int i = 1; i < frames; ++i)
        doc.film()->insertFrame(i, false);
    doc.save(path);
}
} // namespace

TEST(Import, OptionsSheetEnablesItsChoicesWithAsBackground)
{
    test::ensureApplication();
    ImportOptionsDialog sheet(ImportOptions{});
    EXPECT_FALSE(sheet.choicesEnabled());
    sheet.setAsBackground(true);
    EXPECT_TRUE(sheet.choicesEnabled());
    EXPECT_TRUE(sheet.options().asBackground);
    EXPECT_EQ(sheet.options().applyTo, ImportOptions::CurrentFrame);
    sheet.show();
    QApplication::processEvents();
    EXPECT_GE(sheet.width(), widthForTitle(sheet)) << "the title would be cut";
}

TEST(Import, FramesGoAfterTheCurrentOneAndPalettesMustMatch)
{
    Program p;
    Film& film = *p.view().film();
    for (int i = 1; i < 10; ++i)
        film.insertFrame(i, false);
    p.view().goToFrame(5);
    const std::string three = p.dir.file("three.qfm");
    saveFilm(three, 3, 8);
    p.app.filmImport().importFile(p.view(), three, ImportOptions{});
    EXPECT_EQ(film.frameCount(), 13);
    EXPECT_EQ(p.view().currentFrame(), 8);

    // A 16-colour palette file does not fit a 256-colour film.
    const std::string pal = p.dir.file("sixteen.pal");
    Bytes data;
    ByteWriter w(&data);
    PaletteRef sixteen = PaletteRef::make();
    sixteen->setDefault(4);
    sixteen->writePalFile(&w);
    test::writeBytes(pal, data);
    p.app.filmImport().importFile(p.view(), pal, ImportOptions{});
    ASSERT_FALSE(p.sink.shown.empty());
    EXPECT_EQ(p.sink.shown.back(),
              "This palette file is incompatible with the film (it has 16 entries, while the film has 256 entries)");
}
