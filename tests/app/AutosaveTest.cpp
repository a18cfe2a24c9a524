// A child's drawing survives the program dying before it was saved: the copy made while drawing
// is offered at the next start and gives the drawing back; a saved film leaves no copy, and a
// clean exit none either.

#include <gtest/gtest.h>

#include <filesystem>

#include "DrawingProgram.h"
#include "app/Autosave.h"
#include "base/CommandIds.h"

using namespace celvane;

TEST(Autosave, ACopyLeftByAProgramThatDiedIsOfferedAndGivesTheDrawingBack)
{
    test::TempDir kept;
    const std::filesystem::path state = kept.path() / "state", settings = kept.path() / "celvane.ini";
    std::filesystem::path left;
    int drawn = 0;
    {
        test::DrawingProgram p({.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700},
                                .settingsFile = settings, .stateFolder = state});
        p.drawLine({20, 30}, {180, 120});
        drawn = p.inked();
        p.app.autosave()->saveNow();
        p.app.autosave()->finishWriting();
        const auto copies = std::vector<std::filesystem::path>(
            std::filesystem::directory_iterator(Autosave::folder()), std::filesystem::directory_iterator());
        ASSERT_EQ(copies.size(), 1u);
        // As if the program had died: the copy is renamed after a process that has gone.
        left = copies[0].parent_path() / "999999-1.qfm";
        std::filesystem::copy_file(copies[0], left);
    }
    // The clean exit took its own copy away; the dead one's stays.
    ASSERT_TRUE(std::filesystem::exists(left));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(left.parent_path()), {}), 1);

    test::DrawingProgram again({.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700},
                                .settingsFile = settings, .stateFolder = state});
    ASSERT_EQ(again.sink.shown.size(), 1u);
    EXPECT_EQ(again.sink.shown[0].rfind("Celvane closed before this film was saved. Open the recovered copy?", 0), 0u);
    EXPECT_EQ(again.inked(), drawn);
    EXPECT_TRUE(again.view().document().isModified());
    EXPECT_TRUE(again.view().document().pathName().empty());
    EXPECT_FALSE(std::filesystem::exists(left));

    // Saved: no copy is kept for it.
    again.app.autosave()->saveNow();
    again.app.autosave()->finishWriting();
    again.chooser.paths.push_back(again.dir.file("rescued.qfm"));
    again.frame().runCommand(ID_FILE_SAVE);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Autosave::folder()), {}), 0);
}
