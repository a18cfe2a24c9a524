#pragma once
// The tools of the program and which one is current: one tool for every film window, chosen
// from the toolbox or the Tools menu. Remembers the tool to go back to, ends operations in every
// window when the tool changes, and tells every window through `broadcast`.

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "view/tools/Tool.h"

namespace celvane {

class FloodFillTool;
class PenTool;
class SnapshotTool;
class StampTool;
class TextTool;
class ToolEngine;

class ToolBox {
public:
    enum Number : int { Pencil, Eraser, Snapshot, Stamp, Pipette, FloodFill, Sound, Text, Zoom, kCount };
    // Select numbers that are not tools.
    static constexpr int kIgnored = 11;
    static constexpr int kPrevious = 12;

    // The tool a Tools menu command chooses, or -1 when the command chooses none.
    static int numberForCommand(int id);
    // What a change made with the tool is called in the Edit menu ("Undo Pencil").
    static const char* stepName(int number);

    ToolBox();
    ~ToolBox();

    // Null for the tools that are not built yet.
    Tool* tool(int number) const;
    Tool* current() const { return tool(current_); }
    int currentNumber() const { return current_; }
    int previousNumber() const { return previous_; }
    // The last tool chosen that captures the mouse (a drawing tool).
    int lastDrawingTool() const { return lastDrawing_; }
    PenTool& pencil() const;
    PenTool& eraser() const;
    SnapshotTool& snapshot() const;
    StampTool& stamp() const;
    TextTool& text() const;
    FloodFillTool& floodFill() const;

    enum class Selected { Nothing, Changed, Again };
    // Chooses a tool; `quiet` plays no sound. Again: it was current already (and not busy),
    // so its panel may open.
    Selected select(int number, bool quiet);

    // Every window of every film hears the hint.
    std::function<void(uint32_t hint)> broadcast;
    void notify(uint32_t hint) const;
    // A press (or Escape) in a film window: the tool panels that are not pinned go.
    std::function<void()> dismissPanels;

    void addEngine(ToolEngine* engine);
    void removeEngine(ToolEngine* engine);
    // Ends the current operation in every window.
    void endOperations() const;

private:
    std::array<std::unique_ptr<Tool>, kCount> tools_;
    std::vector<ToolEngine*> engines_;
    int current_ = Pencil;
    int previous_ = Pencil;
    int lastDrawing_ = Pencil;
};

} // namespace celvane
