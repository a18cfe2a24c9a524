// A save the disk refuses (here the file size limit, as a full disk would) tells the child which
// file and why, keeps the film on disk as it was, and keeps the drawing open and unsaved, so
// that saving elsewhere still works.

#include <gtest/gtest.h>

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
