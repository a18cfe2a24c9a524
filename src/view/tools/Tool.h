#pragma once
// The base of all tools. The engine (ToolEngine) does the mouse bookkeeping; a tool says what
// its flags are and draws in apply, into whatever image the engine hands it.

#include <cstdint>

#include "gfx/Rect.h"
#include "view/ToolSink.h"
#include "view/tools/ToolFlags.h"
#include "view/tools/ToolHost.h"

namespace celvane {

class Sprite;
class ToolEngine;

// A press, a release or a key, as a tool sees it.
struct ToolEvent {
    ToolEngine& engine;
    ToolHost& host;
    Point at; // frame pixels
    unsigned keys = 0;
    bool right = false;
};

// Which moment of an operation an application of a tool is.
struct ToolStep {
    bool moved = false;
    bool first = false; // the press
    bool final = false; // the release, or a click that acts at once
    bool doubleClick = false;
};

// One application of a tool at a point.
struct ToolApply : ToolStep {
    ToolEngine& engine;
    ToolHost& host;
    // The frame, or the provisional copy while a drag is under way.
    Sprite& image;
    Point at;
    bool right = false;
    uint32_t colour = 0; // colour word
    // What the tool drew, in frame pixels; the engine repaints it.
    Rect changed;

    void addChanged(const Rect& r);
};

class Tool {
public:
    explicit Tool(unsigned flags) : baseFlags_(ToolFlag::Base | flags), flags_(baseFlags_) {}
    virtual ~Tool() = default;

    unsigned flags() const { return flags_; }
    // A new operation starts from the tool's own flags; a press may change them for it.
    void startOperation() { flags_ = baseFlags_; }

    virtual void press(const ToolEvent&) {}
    virtual void release(const ToolEvent&) {}
    virtual void hint(uint32_t) {}
    virtual ToolCursor cursor() const = 0;
    // True when the tool used the key.
    virtual bool character(const ToolEvent&, char32_t) { return false; }
    // Enter and Space go to the tool rather than to playing.
    virtual bool takesText() const { return false; }
    virtual bool keyDown(const ToolEvent&, ToolKey) { return false; }
    virtual void prepare(ToolApply&) {}
    virtual void apply(ToolApply&) = 0;
    virtual void finish(ToolApply&) {}
    // Busy tools are not disturbed by choosing them again.
    virtual bool busy() const { return false; }
    // Each apply during a drag replaces what the previous one drew (lines, figures), rather than
    // adding to it (freehand).
    virtual bool redrawsPreview() const { return false; }
    virtual void operationEnded() {}

protected:
    void setBaseFlags(unsigned flags) { baseFlags_ = flags_ = ToolFlag::Base | flags; }
    void setFlags(unsigned flags) { flags_ = flags; }

private:
    unsigned baseFlags_;
    unsigned flags_;
};

} // namespace celvane
