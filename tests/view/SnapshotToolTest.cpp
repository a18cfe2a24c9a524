#include <gtest/gtest.h>

#include "ToolRig.h"
#include "view/tools/SnapshotTool.h"

using namespace celvane;
using test::ToolRig;

TEST(SnapshotTool, ADraggedRectangleBecomesANewFrameAndCanBeRepeated)
{
    ToolRig rig;
    rig.box.select(ToolBox::Snapshot, true);
    SnapshotTool& snap = rig.box.snapshot();
    for (int x = 0; x < 64; ++x)
        rig.frame().setPixelAt(x, 12, rig.ink()); // a line across the frame
    EXPECT_FALSE(snap.canRepeat());

    // A click, or a press and release a pixel apart, copies nothing.
    rig.click({10, 10});
    rig.drag({10, 10}, {11, 11});
    EXPECT_EQ(rig.film().frameCount(), 1);
    EXPECT_TRUE(rig.calls.empty());

    rig.drag({30, 20}, {10, 10});
    ASSERT_EQ(rig.film().frameCount(), 2);
    EXPECT_EQ(rig.calls, std::vector<std::string>{"frames 1"});
    EXPECT_EQ(test::soundsHeard.back(), "Snap");
    Sprite& copy = *rig.film().workingImage(1);
    EXPECT_EQ(copy.pixelAt(10, 12), rig.ink());
    EXPECT_EQ(copy.pixelAt(29, 12), rig.ink());
    EXPECT_NE(copy.pixelAt(9, 12), rig.ink()) << "only the rectangle is copied";
    EXPECT_NE(copy.pixelAt(30, 12), rig.ink());
    EXPECT_EQ(rig.film().workingImage(0)->pixelAt(40, 12), rig.ink()) << "the frame itself is left alone";

    // Repeat takes the same rectangle of the window's current frame into a further new frame.
    ASSERT_TRUE(snap.canRepeat());
    EXPECT_TRUE(snap.repeatLast());
    EXPECT_EQ(rig.film().frameCount(), 3);
    rig.engine.reset(); // the window closes
    EXPECT_FALSE(snap.canRepeat());
    EXPECT_FALSE(snap.repeatLast());
    EXPECT_EQ(rig.film().frameCount(), 3);
}
