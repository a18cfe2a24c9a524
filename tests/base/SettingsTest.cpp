#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/Settings.h"

using namespace celvane;
using celvane::test::TempDir;

TEST(Settings, MissingFileAndValuesYieldDefaults)
{
    TempDir dir;
    Settings s(dir.path() / "none.ini");
    EXPECT_EQ(s.getFlag("Settings", "SingleDoc", true), true);
    EXPECT_EQ(s.getString("Settings", "ActionSoundsDir", "x"), "x");
}

TEST(Settings, HandEditedFileIsReadWithoutRegardToCase)
{
    TempDir dir;
    const std::string path = dir.file("c.ini");
    test::writeText(path,
                    "; written by hand\r\n"
                    "\n"
                    "  [ settings ]  \n"
                    "# another comment\n"
                    "  SINGLEDOC =  0  \n"
                    "fast2=7 trailing\n"
                    "ActionSoundsDir = \"/a b/\"\n"
                    "[Other]\n"
                    "SingleDoc=5\n");
    Settings s(path);
    EXPECT_FALSE(s.getFlag("Settings", "SingleDoc", true));
    EXPECT_EQ(s.getInt("SETTINGS", "Fast2", 1, 0, 10), 7);
    EXPECT_EQ(s.getString("settings", "actionsoundsdir", ""), "/a b/");
    EXPECT_EQ(s.getInt("other", "singledoc", 1, 0, 10), 5);
    EXPECT_EQ(s.getInt("Settings", "Missing", 9, 0, 10), 9);
}

TEST(Settings, WritingCreatesSectionAndValueAndKeepsComments)
{
    TempDir dir;
    const std::string path = dir.file("sub/c.ini");
    {
        Settings s(path);
        EXPECT_TRUE(s.writeInt("Default", "PlaySpeed", 40));
        EXPECT_TRUE(s.writeString("Recent File List", "File1", "/tmp/a.qfm"));
    }
    Settings again(path);
    EXPECT_EQ(again.getInt("default", "playspeed", 80, 10, 1000), 40);
    EXPECT_EQ(again.getString("Recent File List", "File1", ""), "/tmp/a.qfm");

    test::writeText(path, "; keep me\n[Grid]\nWidth=8 ; note\n\n[Settings]\nSplash=0\n");
    Settings edited(path);
    EXPECT_TRUE(edited.writeInt("grid", "Height", 4));
    EXPECT_TRUE(edited.writeInt("Settings", "splash", 1));
    const std::string text = test::readText(path);
    EXPECT_NE(text.find("; keep me"), std::string::npos);
    EXPECT_LT(text.find("Height=4"), text.find("[Settings]"));
    EXPECT_TRUE(Settings(path).getFlag("SETTINGS", "Splash", false));
}

TEST(Settings, SeesChangesMadeByAnotherWriter)
{
    TempDir dir;
    const std::string path = dir.file("c.ini");
    Settings reader(path);
    EXPECT_EQ(reader.getInt("A", "b", 3, 0, 9), 3);
    Settings(path).writeInt("A", "b", 4);
    EXPECT_EQ(reader.getInt("A", "b", 3, 0, 9), 4);
}

TEST(Settings, ValuesThatDoNotReadOrLieOutsideTheirRangeGiveTheDefault)
{
    TempDir dir;
    const std::string path = dir.file("c.ini");
    test::writeText(path, "[Default]\nWidth=-500\nHeight=99999999999999999999\nDepth=abc\nPlaySpeed=0\n"
                          "Scale=1600\nCompressed=\n[Grid]\nShow=yes\nLock=2\n");
    Settings s(path);
    EXPECT_EQ(s.getInt("Default", "Width", 457, 2, 1998), 457);
    EXPECT_EQ(s.getInt("Default", "Height", 285, 2, 1998), 285);
    EXPECT_EQ(s.getInt("Default", "Depth", 8, 1, 32), 8);
    EXPECT_EQ(s.getInt("Default", "PlaySpeed", 80, 10, 1000), 80);
    EXPECT_EQ(s.getInt("Default", "Scale", 100, 10, 1600), 1600); // the ends of the range are in it
    EXPECT_TRUE(s.getFlag("Default", "Compressed", true));
    EXPECT_FALSE(s.getFlag("Grid", "Show", false));
    EXPECT_TRUE(s.getFlag("Grid", "Lock", false));
}
