#pragma once
// Where a stroke of the stamp tool puts the stamp. Plain: centred on the pointer. Scale: the
// pointer drags a corner of the stamp while the opposite corner stays put. Rotate: the stamp
// turns to face the pointer around the point pressed. Then the plot that draws it and the
// area of the frame that plot changes.

#include <optional>

#include "gfx/PlotRequest.h"
#include "view/ViewLayout.h"

namespace celvane {

enum class StampPlaceMode { Plain, Scale, Rotate, Timing };

// The mode the keys held at the press choose: Ctrl rotates, Shift scales (rotates with the
// other button), both time the plot.
StampPlaceMode stampPlaceModeFor(bool shift, bool ctrl, bool otherButton);

struct StampPlacement {
    // Without a transform the stamp fills it; with one it is centred on its centre.
    Rect destination;
    // What dragging adds to the stamp's own transform; none for a plain placement.
    std::optional<PlotTransform> drag;
};

class StampPlacer {
public:
    // A stroke starting at `at` for a stamp of this (logical) size and transform. Returns where
    // the mouse pointer goes: onto the dragged corner (scale), 100 to the right (rotate).
    std::optional<Point> start(StampPlaceMode mode, Point at, int width, int height,
                               const std::optional<PlotTransform>& own);
    StampPlacement place(Point at);

private:
    struct Vec {
        double x = 0;
        double y = 0;
    };

    StampPlaceMode mode_ = StampPlaceMode::Plain;
    int width_ = 0;
    int height_ = 0;
    Point pressed_;
    double angle_ = 0;
    // Scale: the corner that stays and the two edges from it.
    Vec fixed_;
    Vec edgeX_;
    Vec edgeY_;
};

// The rectangle of a stamp of this size centred on a point.
Rect centredOn(Point at, int width, int height);

// The plot of a placed stamp onto `frame`: the stamp's own transform with the dragged one (a
// dragged scale goes along the axes of a turned stamp), `flags` from the stamp mode, `colour`
// the painting colour (RGB value) for single-colour stamps.
PlotRequest stampPlot(const StampPlacement& placement, const std::optional<PlotTransform>& own, uint32_t flags,
                      uint32_t colour, Sprite* frame);

// The frame area (logical units) that the plot of `stamp` changes.
Rect stampChangedArea(const Sprite& stamp, const PlotRequest& plot);

} // namespace celvane
