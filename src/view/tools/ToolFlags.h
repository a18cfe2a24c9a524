#pragma once
// What a tool asks of the engine that drives it. Tools set these in their constructors (and a
// few for one operation, in their press).

namespace celvane::ToolFlag {
enum : unsigned {
    Provisional = 0x0001,     // draw on a copy of the frame while the button is held
    Capture = 0x0002,         // capture the mouse while the button is held
    DoubleClickEnds = 0x0004, // a double click ends the operation before acting
    TellMoved = 0x0008,       // apply hears whether the pointer moved
    Drag = 0x0010,            // the press sets an anchor and a rubber band runs from it
    ActsWithoutAnchor = 0x0020,
    ChangesFrame = 0x0040,    // take the undo image at the press
    RoundAndClamp = 0x0080,
    UndoEveryPress = 0x0200,
    EndOnRelease = 0x0800,
    PaintingColour = 0x1000,  // always draw in the painting colour
    PaperColour = 0x2000,     // always draw in the paper colour
    DrawsOnFrame = 0x4000,    // the view shows the frame border, shadow and grid
    SnapsToGrid = 0x10000,
    KeepsAnchor = 0x40000,    // the anchor survives the end of an operation
    DragMinDistMoves = 0x80000,
    // Every tool starts from these.
    Base = DoubleClickEnds | TellMoved,
};
} // namespace celvane::ToolFlag
