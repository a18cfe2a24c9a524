#include "stamps/StampPlacement.h"

#include <cmath>
#include <cstdlib>

#include "gfx/PlotGeometry.h"
#include "gfx/PlotPrepare.h"

namespace celvane {

namespace {
constexpr double kDegreesPerRadian = 57.2957795;
// The pointer's distance from the centre below which the angle is not worked out again.
constexpr int kSteadyRadius = 4;
constexpr int kRotateHandle = 100;

double dot(double ax, double ay, double bx, double by) { return ax * bx + ay * by; }
} // namespace

StampPlaceMode stampPlaceModeFor(bool shift, bool ctrl, bool otherButton)
{
    if (shift && ctrl)
        return StampPlaceMode::Timing;
    if (ctrl)
        return StampPlaceMode::Rotate;
    if (shift)
        return otherButton ? StampPlaceMode::Rotate : StampPlaceMode::Scale;
    return StampPlaceMode::Plain;
}

Rect centredOn(Point at, int width, int height)
{
    const int left = at.x - width / 2;
    const int top = at.y - height / 2;
    return {left, top, left + width, top + height};
}

std::optional<Point> StampPlacer::start(StampPlaceMode mode, Point at, int width, int height,
                                        const std::optional<PlotTransform>& own)
{
    mode_ = mode;
    width_ = width;
    height_ = height;
    pressed_ = at;
    angle_ = 0;
    if (mode == StampPlaceMode::Rotate)
        return Point{at.x + kRotateHandle, at.y};
    if (mode != StampPlaceMode::Scale)
        return std::nullopt;
    // The stamp as it would be placed now; its top-left corner stays, the pointer takes the
    // bottom-right one.
    const PlotMatrix matrix = own ? makeTransformMatrix(*own).value_or(PlotMatrix{}) : PlotMatrix{};
    const PlotShape shape = transformedShape(matrix, {0, 0, width, height}, centredOn(at, width, height));
    const auto corner = [&](int i) { return Vec{shape.corners[size_t(i)].x / 256.0, shape.corners[size_t(i)].y / 256.0}; };
    fixed_ = corner(0);
    const Vec right = corner(1), dragged = corner(2), bottom = corner(3);
    edgeX_ = {right.x - fixed_.x, right.y - fixed_.y};
    edgeY_ = {bottom.x - fixed_.x, bottom.y - fixed_.y};
    return Point{int(std::lround(dragged.x)), int(std::lround(dragged.y))};
}

StampPlacement StampPlacer::place(Point at)
{
    switch (mode_) {
    case StampPlaceMode::Scale: {
        const double vx = at.x - fixed_.x, vy = at.y - fixed_.y;
        // How far along each edge the pointer has gone, as a share of the edge.
        const auto along = [&](const Vec& u) {
            const double length2 = dot(u.x, u.y, u.x, u.y);
            return length2 == 0 ? (vx + vy) / 2 : dot(u.x, u.y, vx, vy) / length2;
        };
        const Point centre{int(std::lround((at.x + fixed_.x) / 2)), int(std::lround((at.y + fixed_.y) / 2))};
        return {centredOn(centre, width_, height_), PlotTransform{along(edgeX_), along(edgeY_), 0}};
    }
    case StampPlaceMode::Rotate: {
        const int dx = at.x - pressed_.x, dy = at.y - pressed_.y;
        if (dx == 0 && dy == 0)
            angle_ = 0;
        else if (std::abs(dx) > kSteadyRadius || std::abs(dy) > kSteadyRadius)
            angle_ = 90 - std::atan2(double(dx), double(dy)) * kDegreesPerRadian;
        return {centredOn(pressed_, width_, height_), PlotTransform{1, 1, angle_}};
    }
    default: return {centredOn(at, width_, height_), std::nullopt};
    }
}

PlotRequest stampPlot(const StampPlacement& placement, const std::optional<PlotTransform>& own, uint32_t flags,
                      uint32_t colour, Sprite* frame)
{
    PlotRequest plot;
    plot.destinationSprite = frame;
    plot.destination = placement.destination;
    plot.flags = flags;
    plot.colour = colour;
    const bool turned = own && own->angle != 0;
    const bool draggedScale = placement.drag && placement.drag->angle == 0;
    if (turned && draggedScale) {
        plot.transform = own;
        plot.axisScale = placement.drag;
    } else if (placement.drag) {
        plot.transform = combineTransforms(own.value_or(PlotTransform{}), *placement.drag);
    } else if (own && !own->isIdentity()) {
        plot.transform = own;
    }
    return plot;
}

Rect stampChangedArea(const Sprite& stamp, const PlotRequest& plot)
{
    const auto prepared = preparePlot(stamp, plot, false);
    if (!prepared)
        return {};
    if (plot.transform)
        return shapeBounds(plotShape(*prepared));
    // A plain placement: what it covers, and the row above for the plotter's rounding.
    Rect area = prepared->destination;
    if (area.top > 0)
        --area.top;
    return area;
}

} // namespace celvane
