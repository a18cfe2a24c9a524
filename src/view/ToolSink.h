#pragma once
// What a film window hands to the current drawing tool: mouse events at frame positions and
// typed characters. The tool engine implements it; the window holds one (or none).

#include <cstdint>

#include "view/ViewLayout.h"

namespace celvane {

enum class MouseAction { Press, Release, DoubleClick, Move };

// Keys that come without a character (the pen keys).
enum class ToolKey { Up, Down, KeypadPlus, KeypadMinus };

// The key state that comes with a mouse event.
namespace MouseKeys {
enum : unsigned { LeftButton = 1, RightButton = 2, Shift = 4, Control = 8, MiddleButton = 16 };
}

class ToolSink {
public:
    virtual ~ToolSink() = default;
    // `at` in frame pixels (rounded and clamped to 0 ... size); `right` for the right button
    // (for a move: while it is held).
    virtual void mouse(MouseAction action, Point at, unsigned keys, bool right) = 0;
    virtual void character(char32_t c) = 0;
    // True when the tool used the key.
    virtual bool keyDown(ToolKey) { return false; }
    // The tool draws on the frame: the frame gets its border and shadow, and the grid shows.
    virtual bool drawsOnFrame() const = 0;
    // The tool takes Enter and Space as text.
    virtual bool takesText() const = 0;
};

} // namespace celvane
