#pragma once
// What changed in a film, announced to every view of its document (and through the main frame
// to the bars) as a set of bits, with an optional rectangle of the current frame.

#include <cstdint>

#include "gfx/Rect.h"

namespace celvane {

namespace Hint {
enum : uint32_t {
    RepaintAll = 0x01,
    PaletteRepaint = 0x02,
    ActiveViewChanged = 0x04,
    PaintingColour = 0x08,
    PaperColour = 0x10,
    CurrentFrame = 0x20,
    FrameRect = 0x40,
    RepaintRect = 0x80,
    ToolChanged = 0x100,
    OpenToolPanel = 0x200,
    MousePressed = 0x400,
    SettingsChanged = 0x800,
    PlayState = 0x1000,
    SystemPalette = 0x2000,
    FilmSpeed = 0x4000,
    UndoTaken = 0x8000,
    ColourPicked = 0x10000,
    StampChanged = 0x100000,
    Motion = 0x80000,
    FrameMarks = 0x200000,
    PenSize = 0x400000,
    // Only with RepaintRect: a tool drew the rectangle (nothing but pixels changed).
    DrawnByTool = 0x80000000,

    // Combinations in use. Palette films lose nothing by PaletteRepaint; deep films need it.
    SetPaintingColour0 = PaperColour | PaletteRepaint,
    SetPaintingColour1 = PaintingColour | PaletteRepaint,
    FrameChanged = CurrentFrame | FrameRect,
    FramesReplaced = RepaintAll | FrameChanged,
    NewView = RepaintAll | PaletteRepaint | ActiveViewChanged | PaintingColour | PaperColour | CurrentFrame,
    ToolRedrew = DrawnByTool | RepaintRect,
};
} // namespace Hint

struct ChangeRecord {
    Rect rect;
    bool immediate = false;
};

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) = 0;
};

} // namespace celvane
