#pragma once
// The drawing companion of a film window: its grid, the area the current tool operation has
// changed, and the rubber band a tool stretches. Plain state; the window paints what it holds.

#include <optional>
#include <vector>

#include "gfx/Rect.h"
#include "view/GridSettings.h"

namespace celvane {

class FrameCanvas {
public:
    explicit FrameCanvas(const GridSettings& grid = {}) : grid_(grid) {}

    GridSettings& grid() { return grid_; }
    const GridSettings& grid() const { return grid_; }

    // A refreshed rectangle (frame pixels) grows the changed area.
    void addChanged(const Rect& frameRect);
    // Everything changed since the last reset; empty when nothing has.
    const Rect& changedArea() const { return changed_; }
    // A tool starts a new operation.
    void resetChangedArea() { changed_ = {}; }

    // The rubber band (frame pixels); a rectangle with a field holding kNoValue is none.
    void setRubberBand(const Rect& band);
    const std::optional<Rect>& rubberBand() const { return band_; }

    // The pixels that draw a band whose corners are at `client`: its four edges walked round
    // from the top-left, each from its start up to but not including its end, an edge whose
    // start equals its end left out. Each rectangle is one pixel wide or high.
    static std::vector<Rect> bandEdges(const Rect& client);

private:
    GridSettings grid_;
    Rect changed_;
    std::optional<Rect> band_;
};

} // namespace celvane
