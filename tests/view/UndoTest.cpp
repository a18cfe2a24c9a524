#include <gtest/gtest.h>

#include "ToolRig.h"
#include "view/tools/PenTool.h"

using namespace celvane;
using test::ToolRig;

namespace {

std::string state(ToolRig& rig)
{
    const FrameUndo& u = rig.undoer;
    return std::string(u.canUndo() ? "U" : "-") + (u.canRedo() ? "R" : "-") + (u.canRestore() ? "S" : "-");
}

// Undo and redo are one swap in a history of one step: whichever is offered.
void swap(ToolRig& rig)
{
    if (rig.undoer.canUndo())
        rig.undoer.undo();
    else
        rig.undoer.redo();
}

// A teacher's choice of one step gives the single undo image of old.
struct OneStepRig : ToolRig {
    OneStepRig() { undoer.setLimits({1, UndoLimits{}.bytes}); }
};

void dot(ToolRig& rig, Point at)
{
    rig.box.pencil().setPen({0, false, 1, 1});
    rig.click(at);
}

} // namespace

TEST(FrameUndo, FollowsTheStateTable)
{
    OneStepRig rig;
    EXPECT_EQ(state(rig), "---") << "frame just made current";
    EXPECT_FALSE(rig.film().isModified());
    dot(rig, {1, 1});
    EXPECT_EQ(state(rig), "U-S");
    EXPECT_TRUE(rig.film().isModified());
    EXPECT_NE(std::find(rig.hints.begin(), rig.hints.end(), Hint::UndoTaken), rig.hints.end());

    swap(rig);
    EXPECT_EQ(state(rig), "-R-") << "undo of a first change";
    EXPECT_EQ(rig.count(rig.ink()), 0);
    EXPECT_FALSE(rig.film().isModified()) << "the frame is as it was made current";
    EXPECT_EQ(rig.hints.back(), Hint::UndoTaken | Hint::FrameRect);

    // Undo and redo alternate the same two images without end.
    for (int i = 0; i < 3; ++i) {
        swap(rig);
        EXPECT_EQ(state(rig), "U-S");
        EXPECT_EQ(rig.count(rig.ink()), 1);
        swap(rig);
        EXPECT_EQ(state(rig), "-R-");
        EXPECT_EQ(rig.count(rig.ink()), 0);
    }
}

TEST(FrameUndo, OnlyTheLastOfTwoChangesUndoesAndRestoreGoesBackBeforeBoth)
{
    OneStepRig rig;
    dot(rig, {1, 1});
    dot(rig, {2, 2});
    swap(rig);
    EXPECT_EQ(state(rig), "-RS") << "undo when there were earlier changes";
    EXPECT_EQ(rig.count(rig.ink()), 1);
    swap(rig);
    EXPECT_EQ(state(rig), "U-S");

    rig.undoer.restore();
    EXPECT_EQ(state(rig), "-R-");
    EXPECT_EQ(rig.count(rig.ink()), 0);
    EXPECT_FALSE(rig.film().isModified());

    // Redo after Restore gives back the edited frame, and Undo is offered again.
    swap(rig);
    EXPECT_EQ(state(rig), "U-S");
    EXPECT_EQ(rig.count(rig.ink()), 2);
}

TEST(FrameUndo, BlankFrameUndoesAndAnotherFrameForgetsTheHistory)
{
    OneStepRig rig;
    dot(rig, {3, 3});
    rig.undoer.blank();
    EXPECT_EQ(rig.count(rig.paper()), 64 * 48);
    EXPECT_EQ(rig.refreshed.back(), (Rect{0, 0, 64, 48}));
    swap(rig);
    EXPECT_EQ(rig.count(rig.ink()), 1);

    rig.film().insertFrame(1, false);
    rig.doc.updateAllViews(nullptr, Hint::FramesReplaced);
    EXPECT_EQ(state(rig), "---");
    rig.film().makeCurrent(0);
    rig.doc.updateAllViews(nullptr, Hint::FrameChanged);
    EXPECT_EQ(state(rig), "---") << "moving away and back offers neither Undo nor Redo";
    EXPECT_EQ(rig.count(rig.ink()), 1);
}

// Saving or copying stores the frame between a change and its undo: the way back is the
// window's own, and the film stays changed when its stored copy no longer matches.
TEST(FrameUndo, StoringTheFrameKeepsTheWayBack)
{
    OneStepRig rig;
    dot(rig, {1, 1});
    rig.film().storeCurrentFrame();
    rig.film().setModified(false); // as after a save
    swap(rig);
    EXPECT_EQ(state(rig), "-R-");
    EXPECT_EQ(rig.count(rig.ink()), 0);
    EXPECT_TRUE(rig.film().isModified()) << "the stored frame still has the dot";

    swap(rig);
    dot(rig, {2, 2});
    rig.film().storeCurrentFrame();
    rig.undoer.restore();
    EXPECT_EQ(rig.count(rig.ink()), 0);
    EXPECT_EQ(state(rig), "-R-");
    swap(rig);
    EXPECT_EQ(rig.count(rig.ink()), 2);
}
