#pragma once
// What the tool engine needs of the film window it works in. The window implements it through
// ViewToolHost; tests put in a window of their own and drive the engine with frame positions.

#include "gfx/Rect.h"
#include "view/ViewLayout.h"

namespace celvane {

class CCelvaneDoc;
class FrameUndo;
class Sprite;

enum class ToolCursor { Arrow, Pencil, Eraser, PaintCan, Pipette, Cross, Magnifier, Size, Stamp, StampScale, StampRotate, Text };

class ToolHost {
public:
    virtual ~ToolHost() = default;

    virtual CCelvaneDoc& document() = 0;
    // The window's current frame, decoded.
    virtual Sprite& frame() = 0;
    virtual FrameUndo& undo() = 0;
    virtual int currentFrame() = 0;
    // The film's frames changed (a frame was added): playing stops, every window hears it and
    // this one shows `current`.
    virtual void framesReplaced(int current) = 0;
    // Goes to another frame, as the frame commands do.
    virtual void showFrame(int frame) = 0;

    // A frame point in window pixels, and as a locked grid snaps it.
    virtual Point clientOf(Point frame) const = 0;
    virtual Point snapped(Point frame) const = 0;

    // A rectangle of the frame changed: every window of the film repaints it.
    virtual void refreshRect(const Rect& frameRect, bool immediate) = 0;
    // The image shown instead of the frame, or none.
    virtual void showProvisional(const Sprite* image) = 0;
    virtual void drawRubberBand(const Rect& band) = 0;
    virtual void eraseRubberBand() = 0;
    // Moves the mouse pointer onto a frame point.
    virtual void movePointer(Point frame) = 0;
    virtual void setCursor(ToolCursor cursor) = 0;

    virtual void zoomIn(Point centre) = 0;
    virtual void zoomOut(Point centre) = 0;
    virtual void zoomToRect(const Rect& frameRect) = 0;
    virtual void toggleZoom() = 0;
};

} // namespace celvane
