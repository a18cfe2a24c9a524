// A save the disk refuses (a full disk, a folder that cannot be written to) tells the child which
// file and why, keeps the film on disk as it was, and keeps the drawing open and unsaved, so
// that saving elsewhere still works.

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "DrawingProgram.h"
#include "base/ByteIO.h"
#include "base/CommandIds.h"

using namespace celvane;

TEST(SaveFailure, AFullDiskKeepsTheDrawingOpenAndTheOldFileWhole)
{
    test::DrawingProgram p;
    const std::string path = p.dir.file("walk.qfm");
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_SAVE);
    const Bytes before = readFile(path);
    p.drawLine({20, 30}, {180, 120});
    const int drawn = p.inked();

    {
        test::FileSizeLimit full(512);
        p.frame().runCommand(ID_FILE_SAVE);
    }

    ASSERT_FALSE(p.sink.shown.empty());
    EXPECT_NE(p.sink.shown.back().find("walk.qfm"), std::string::npos) << p.sink.shown.back();
    EXPECT_NE(p.sink.shown.back().find("File too large"), std::string::npos) << p.sink.shown.back();
    EXPECT_EQ(readFile(path), before);
    EXPECT_TRUE(p.view().document().isModified());
    EXPECT_EQ(p.inked(), drawn);

    // With room again, the same command saves it.
    p.frame().runCommand(ID_FILE_SAVE);
    EXPECT_FALSE(p.view().document().isModified());
    EXPECT_NE(readFile(path), before);
}

TEST(SaveFailure, AFolderThatCannotBeWrittenToKeepsTheDrawingOpen)
{
    test::DrawingProgram p;
    // Nobody writes into /sys, not even the administrator the tests may run as; anyone else is
    // kept out of a folder of their own without write permission.
    std::string folder = "/sys";
    if (::geteuid() != 0) {
        folder = p.dir.file("locked");
        std::filesystem::create_directory(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    p.drawLine({20, 30}, {180, 120});
    const int drawn = p.inked();
    p.chooser.paths.push_back(folder + "/walk.qfm");
    p.frame().runCommand(ID_FILE_SAVE_AS);

    ASSERT_FALSE(p.sink.shown.empty());
    EXPECT_NE(p.sink.shown.back().find("walk.qfm: Permission denied"), std::string::npos) << p.sink.shown.back();
    EXPECT_FALSE(std::filesystem::exists(folder + "/walk.qfm"));
    EXPECT_TRUE(p.view().document().isModified());
    EXPECT_EQ(p.inked(), drawn);

    // Saved elsewhere, it is all there.
    const std::string elsewhere = p.dir.file("walk.qfm");
    p.chooser.paths.push_back(elsewhere);
    p.frame().runCommand(ID_FILE_SAVE_AS);
    EXPECT_FALSE(p.view().document().isModified());
    EXPECT_TRUE(std::filesystem::exists(elsewhere));
}
