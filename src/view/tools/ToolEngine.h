#pragma once
// Turns one window's mouse events and keys into operations of the current tool: capture,
// clicks told from drags by "DragMinDist", the anchor and rubber band, the provisional image
// while dragging, colours by button and flags, the undo image before a change, and the changed
// rectangle reported to every window.

#include <optional>

#include "gfx/Sprite.h"
#include "view/ToolSink.h"
#include "view/tools/Tool.h"

namespace celvane {

class ToolBox;

class ToolEngine : public ToolSink {
public:
    ToolEngine(ToolHost& host, ToolBox& tools);
    ~ToolEngine() override;
    ToolEngine(const ToolEngine&) = delete;
    ToolEngine& operator=(const ToolEngine&) = delete;

    // ToolSink
    void mouse(MouseAction action, Point at, unsigned keys, bool right) override;
    void character(char32_t c) override;
    bool keyDown(ToolKey key) override;
    bool drawsOnFrame() const override;
    bool takesText() const override;

    ToolHost& host() { return host_; }
    ToolBox& tools() { return tools_; }
    std::optional<Point> anchor() const { return anchor_; }
    void setAnchor(std::optional<Point> at) { anchor_ = at; }
    bool held() const { return held_; }
    bool hasProvisional() const { return provisionalLive_; }

    // Ends the current operation; `force` drops an anchor the tool would keep.
    void endOperation(bool force = true);
    // Update hints of the window's document.
    void hint(uint32_t hint);
    // Shows the current tool's cursor.
    void refreshCursor();

private:
    void press(Tool& tool, Point at, Point client);
    void release(Tool& tool, Point at, Point client);
    void doubleClick(Tool& tool, Point at, Point client);
    void move(Tool& tool, Point at, Point client);
    void apply(Tool& tool, Point at, ToolStep step);
    Sprite& provisional();
    void dropProvisional();
    void stretchBand(Point to);
    bool isClick(Point client) const;
    Point position(const Tool& tool, Point at) const;
    ToolEvent event(Point at) { return {*this, host_, at, keys_, right_}; }

    ToolHost& host_;
    ToolBox& tools_;
    int dragMinDist_;
    std::optional<Point> anchor_;
    Point anchorClient_{kNoValue, kNoValue};
    Point lastAppliedClient_;
    bool held_ = false;
    bool right_ = false;
    bool bandShown_ = false;
    unsigned keys_ = 0;
    Sprite provisional_;
    bool provisionalLive_ = false;
    // What the provisional image has that the frame has not.
    Rect previewArea_;
};

} // namespace celvane
