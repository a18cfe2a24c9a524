#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/CommandIds.h"
#include "base/Settings.h"
#include "view/tools/PanelPin.h"
#include "view/tools/PenSizeText.h"
#include "view/tools/ToolBoxGroup.h"

using namespace celvane;

TEST(ToolBoxGroup, LoadsTheGroupInUseAndWritesTheCustomGroupBack)
{
    test::TempDir dir;
    Settings s(dir.path() / "t.ini");
    const ToolBoxGroup standard = ToolBoxGroup::load(s);
    EXPECT_EQ(standard.shownEntries().size(), 12u);
    EXPECT_EQ(standard.horzPerRow, 12);
    EXPECT_EQ(standard.vertPerRow, 2);
    EXPECT_TRUE(standard.bigButtons);
    EXPECT_TRUE(standard.pinOnInitialMove);

    // Junior: six tools in a row, on large buttons whatever the size chosen.
    s.writeInt("ToolBox", "Group", 1);
    s.writeInt("ToolBox", "BigButtons", 0);
    ToolBoxGroup junior = ToolBoxGroup::load(s);
    EXPECT_EQ(junior.group, 1);
    EXPECT_EQ(junior.shownEntries(), (std::vector<int>{0, 1, 3, 5, 6, 7}));
    EXPECT_EQ(junior.horzPerRow, 6);
    EXPECT_TRUE(junior.bigButtons);
    EXPECT_FALSE(ToolBoxGroup::load(s, 0).bigButtons);
    // A group's stored entries and rows are its own.
    s.writeInt("ToolBox 1", "HorzPerRow", 0); // would leave the bar no room: reads as the default
    for (int i = 0; i < 12; ++i)
        s.writeInt("ToolBox 1", "Tool" + std::to_string(i), 0);
    s.writeInt("ToolBox 1", "Tool11", 3);
    junior = ToolBoxGroup::load(s);
    EXPECT_EQ(junior.horzPerRow, 6);
    EXPECT_EQ(junior.shownEntries(), std::vector<int>{11});
    EXPECT_EQ(ToolBoxGroup::entryOfCommand(ID_TOOL_ZOOM), 11);
    EXPECT_EQ(ToolBoxGroup::entryOfCommand(ID_FILE_OPEN), -1);

    // Rows for a vertical bar: one per six buttons, and one more for a remainder of two or more.
    for (const auto& [shown, rows] : {std::pair{0, 1}, {1, 1}, {6, 1}, {12, 2}, {8, 2}, {7, 1}}) {
        junior.entries.fill(0);
        for (int i = 0; i < shown; ++i)
            junior.entries[size_t(i)] = ToolBoxGroup::Shown;
        junior.writeCustom(s);
        EXPECT_EQ(s.getInt("ToolBox 2", "VertPerRow", -1, 1, 12), rows) << shown << " buttons";
    }
    EXPECT_EQ(s.getInt("ToolBox 2", "Tool6", -1, 0, 3), ToolBoxGroup::Shown);
    EXPECT_EQ(s.getInt("ToolBox 2", "Tool7", -1, 0, 3), 0);
}

TEST(ToolBoxGroup, APanelOpensOnAFirstChoiceOnlyWhenTheEntrySaysSo)
{
    ToolBoxGroup g; // the pencil opens on the first click, the pipette does not
    using S = ToolBox::Selected;
    EXPECT_TRUE(g.opensPanel(0, S::Changed));
    EXPECT_FALSE(g.opensPanel(4, S::Changed));
    EXPECT_TRUE(g.opensPanel(4, S::Again));
    EXPECT_FALSE(g.opensPanel(0, S::Nothing));
    EXPECT_FALSE(g.opensPanel(-1, S::Changed));
}

TEST(PanelPin, TheFirstMoveAfterShowingPinsWhenAsked)
{
    PanelPin pin(true);
    EXPECT_TRUE(pin.hidesWhenDismissed());
    pin.shown();
    pin.movedByUser();
    EXPECT_FALSE(pin.hidesWhenDismissed());
    pin.setPinned(false); // the user pulls the pin out: later moves leave it out
    pin.movedByUser();
    EXPECT_FALSE(pin.pinned());
    pin.shown();
    pin.movedByUser();
    EXPECT_TRUE(pin.pinned());

    PanelPin never(false);
    never.shown();
    never.movedByUser();
    EXPECT_FALSE(never.pinned());
}

TEST(PenSizeText, TakesWidthByHeightWithinRange)
{
    EXPECT_EQ(penSizeText({16, 8}), "16x8");
    const auto size = parsePenSize(" 16x8 ");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 16);
    EXPECT_EQ(size->height, 8);
    EXPECT_TRUE(parsePenSize("1X164"));
    for (const char* bad : {"", "16", "16x", "x16", "0x5", "5x165", "-3x4", "+3x4", "3x4x5", "3 x 4", "3x4px",
                            "99999999999x1"})
        EXPECT_FALSE(parsePenSize(bad)) << bad;
}
