#include "import/VisibleGeometry.h"

#include <QPaintDevice>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace celvane {

namespace {

// Qt's miter joins reach at most twice the pen's width from their point (its default limit);
// caps half of it. Antialiasing and rounding take a pixel or two.
constexpr double kPenReach = 3;
constexpr double kPixelsBeyond = 4;

// The four sides of a rectangle as half-planes: which side a point is on, and where the segment
// between two points on either side crosses it.
struct Side {
    int axis;     // 0: x, 1: y
    double limit;
    bool below;   // inside is at or below the limit
    bool inside(const QPointF& p) const
    {
        const double v = axis == 0 ? p.x() : p.y();
        return below ? v <= limit : v >= limit;
    }
    QPointF crossing(const QPointF& a, const QPointF& b) const
    {
        const double va = axis == 0 ? a.x() : a.y(), vb = axis == 0 ? b.x() : b.y();
        const double t = (limit - va) / (vb - va);
        const QPointF at = a + t * (b - a);
        return axis == 0 ? QPointF(limit, at.y()) : QPointF(at.x(), limit);
    }
};

std::array<Side, 4> sidesOf(const QRectF& r)
{
    return {Side{0, r.left(), false}, Side{0, r.right(), true}, Side{1, r.top(), false}, Side{1, r.bottom(), true}};
}

// The part of segment a-b inside `r` as parameters 0 <= t0 <= t1 <= 1, or nothing.
std::optional<std::pair<double, double>> segmentInside(const QPointF& a, const QPointF& b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const QPointF d = b - a;
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return std::make_pair(t0, t1);
}

double distance(const QPointF& a, const QPointF& b) { return std::hypot(b.x() - a.x(), b.y() - a.y()); }

} // namespace

VisibleGeometry::VisibleGeometry(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const QTransform toDevice = painter.combinedTransform();
    bool invertible = false;
    const QTransform fromDevice = toDevice.inverted(&invertible);
    const double scale = std::sqrt(std::abs(toDevice.determinant()));
    if (!device || !invertible || !(scale > 0) || !std::isfinite(scale))
        return;
    shown_ = fromDevice.mapRect(QRectF(0, 0, device->width(), device->height()));
    pixel_ = 1 / scale;
}

std::optional<QRectF> VisibleGeometry::reach(double width) const
{
    if (!shown_)
        return std::nullopt;
    const double margin = kPenReach * std::max(width, 0.0) + kPixelsBeyond * pixel_;
    return shown_->adjusted(-margin, -margin, margin, margin);
}

QPolygonF VisibleGeometry::area(const QPolygonF& polygon) const
{
    const std::optional<QRectF> r = reach(0);
    if (!r || polygon.isEmpty() || r->contains(polygon.boundingRect()))
        return polygon;
    // Each side in turn: the stretches outside it become the stretch of its edge between where
    // they left and came back, which goes round no point inside.
    QPolygonF in = polygon, out;
    for (const Side& side : sidesOf(*r)) {
        out.clear();
        for (qsizetype i = 0; i < in.size(); ++i) {
            const QPointF& previous = in[i == 0 ? in.size() - 1 : i - 1];
            const QPointF& current = in[i];
            if (side.inside(current)) {
                if (!side.inside(previous))
                    out << side.crossing(previous, current);
                out << current;
            } else if (side.inside(previous)) {
                out << side.crossing(previous, current);
            }
        }
        std::swap(in, out);
        if (in.isEmpty())
            break;
    }
    return in;
}

std::vector<VisibleGeometry::Piece> VisibleGeometry::line(const QPolygonF& points, bool closed, double width) const
{
    const std::optional<QRectF> r = reach(width);
    if (!r || points.size() < 2 || r->contains(points.boundingRect()))
        return {Piece{points, 0, closed}};
    const qsizetype n = points.size();
    // How far along the line each point lies.
    std::vector<double> along(size_t(n) + 1, 0);
    for (qsizetype i = 1; i <= n; ++i)
        along[size_t(i)] = along[size_t(i - 1)] + distance(points[i - 1], points[i % n]);
    // A closed line is walked from a point out of reach round to it again, so that every join
    // that shows stays a join.
    qsizetype first = 0, segments = n - 1;
    if (closed) {
        while (first < n && r->contains(points[first]))
            ++first;
        if (first == n)
            return {Piece{points, 0, closed}};
        segments = n;
    }
    std::vector<Piece> pieces;
    bool open = false; // the last piece goes on
    for (qsizetype k = 0; k < segments; ++k) {
        const qsizetype i = (first + k) % n;
        const QPointF a = points[i], b = points[(i + 1) % n];
        const std::optional<std::pair<double, double>> inside = segmentInside(a, b, *r);
        if (!inside) {
            open = false;
            continue;
        }
        const auto [t0, t1] = *inside;
        const double length = along[size_t(i) + 1] - along[size_t(i)];
        if (!open || t0 > 0) {
            pieces.push_back(Piece{QPolygonF{a + t0 * (b - a)}, along[size_t(i)] + t0 * length, false});
            open = true;
        }
        pieces.back().points << (t1 < 1 ? a + t1 * (b - a) : b);
        open = t1 >= 1;
    }
    return pieces;
}

} // namespace celvane
