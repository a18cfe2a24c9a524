#pragma once
// Outlines cut down to the part of a painter's device that can show. Qt's rasteriser spends time
// in proportion to how far an outline reaches, visible or not, so one point of a damaged picture
// billions of units away costs a long draw. Cut at a little beyond the edge of what shows (room
// for the widest joins and caps of the pen), the same outline draws the same pixels at once.
// Outlines that lie within reach, as every sound picture's do, are handed on as they are.

#include <QPainter>
#include <QPolygonF>
#include <QRectF>
#include <optional>
#include <vector>

namespace celvane {

class VisibleGeometry {
public:
    // What `painter` shows now: its device under its current transform.
    explicit VisibleGeometry(const QPainter& painter);

    // A closed polygon to fill, cut to what shows: every point that shows lies inside it as
    // often, either way round, as inside the original, so both fill rules fill the same.
    QPolygonF area(const QPolygonF& polygon) const;

    // A stretch of a line to stroke; `from` is how far along the original line it starts (for
    // the dash pattern), `closed` when it is the whole closed original.
    struct Piece {
        QPolygonF points;
        double from = 0;
        bool closed = false;
    };
    // A line (closed: a polygon's outline) of pen width `width`, in the painter's coordinates,
    // cut to the stretches that come within reach of what shows. Joins that show keep their
    // shape; cut ends lie out of sight.
    std::vector<Piece> line(const QPolygonF& points, bool closed, double width) const;

private:
    // What shows, widened by a pen of `width` and a few pixels; nothing when the painter's
    // transform cannot be undone (and nothing is cut).
    std::optional<QRectF> reach(double width) const;

    std::optional<QRectF> shown_;
    double pixel_ = 1; // one device pixel, in the painter's coordinates
};

} // namespace celvane
