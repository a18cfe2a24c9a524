// Outlines reaching millions of pixels beyond the picture, cut to what shows, draw the pixels the
// uncut outlines draw: areas by either fill rule, lines with their joins and dashes, under the
// transforms pictures are drawn with.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "QtTestSupport.h"
#include "import/VisibleGeometry.h"

using namespace celvane;

namespace {

constexpr int kSide = 64;

// The pixels a drawing makes on a white square, antialiased as pictures are drawn.
QImage drawn(const QTransform& transform, const std::function<void(QPainter&)>& draw)
{
    QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(transform);
    draw(painter);
    return image;
}

// Pixels whose channels differ by more than rounding. An edge cut at another point of the same
// line may round a pixel or two the other way.
constexpr int kRoundedAway = 2;
int differing(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            count += std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2 ||
                     std::abs(qBlue(p) - qBlue(q)) > 2;
        }
    return count;
}

// Plain, shrunk and moved (as a thumbnail), and turned.
const std::vector<QTransform> kTransforms = {QTransform(), QTransform::fromScale(0.25, 0.25).translate(40, 90),
                                             QTransform().translate(32, 0).rotate(30)};

} // namespace

TEST(VisibleGeometry, CutAreasFillTheSamePixelsByEitherRule)
{
    test::ensureApplication();
    const double far = 1e6;
    const std::vector<std::vector<QPolygonF>> shapes = {
        // A wedge from the picture to a point far off.
        {QPolygonF({QPointF(5, 5), QPointF(60, 10), QPointF(far, far)})},
        // A star whose points lie far off on every side, crossing itself round the middle.
        {QPolygonF({QPointF(-far, 30), QPointF(far, 20), QPointF(-far / 2, -far), QPointF(40, far),
                    QPointF(20, -far)})},
        // A far square round a near one, both the same way round: a hole by the even-odd rule only.
        {QPolygonF({QPointF(-far, -far), QPointF(far, -far), QPointF(far, far), QPointF(-far, far)}),
         QPolygonF({QPointF(20, 20), QPointF(44, 20), QPointF(44, 44), QPointF(20, 44)})},
        // All of it out of sight.
        {QPolygonF({QPointF(far, far), QPointF(far + 10, far), QPointF(far, far + 10)})},
    };
    for (const QTransform& transform : kTransforms)
        for (Qt::FillRule rule : {Qt::OddEvenFill, Qt::WindingFill})
            for (size_t s = 0; s < shapes.size(); ++s) {
                SCOPED_TRACE(testing::Message() << "shape " << s << " rule " << rule << " transform " << transform.m11()
                                                << "," << transform.m12());
                auto fill = [&](bool cut) {
                    return drawn(transform, [&](QPainter& painter) {
                        const VisibleGeometry visible(painter);
                        QPainterPath area;
                        area.setFillRule(rule);
                        for (const QPolygonF& polygon : shapes[s]) {
                            const QPolygonF shown = cut ? visible.area(polygon) : polygon;
                            if (cut) {
                                EXPECT_LT(shown.boundingRect().width(), 1000) << "cut near what shows";
                            }
                            area.addPolygon(shown);
                            area.closeSubpath();
                        }
                        painter.fillPath(area, Qt::red);
                    });
                };
                EXPECT_LE(differing(fill(false), fill(true)), kRoundedAway);
            }
}

TEST(VisibleGeometry, CutLinesStrokeTheSamePixelsWithTheirJoinsAndDashes)
{
    test::ensureApplication();
    // Qt draws a dashed line of more than 10000 repeats of its pattern solid, and dashes lines
    // thinner than a pixel by pixels: the dashed lines reach only as far as the first allows and
    // stay wider than a pixel when shrunk, to be compared dash for dash.
    const double far = 3e6, dashedFar = 4e4;
    struct Line {
        QPolygonF points;
        bool closed;
        double width;
        QList<qreal> dashes;
    };
    const std::vector<Line> lines = {
        // In from far off, a mitred corner in sight, and far off again; solid and dashed.
        {QPolygonF({QPointF(-far, 20), QPointF(30, 30), QPointF(50, far)}), false, 5, {}},
        {QPolygonF({QPointF(-dashedFar, 20), QPointF(30, 30), QPointF(50, dashedFar)}), false, 6, {2, 1.5}},
        // Starting in sight, so that the first stretch keeps its cap and its dashes' start.
        {QPolygonF({QPointF(10, 10), QPointF(dashedFar, 40)}), false, 4, {3, 2}},
        // A closed outline from a point far off, with two corners in sight.
        {QPolygonF({QPointF(dashedFar, -dashedFar), QPointF(10, 50), QPointF(54, 40)}), true, 8, {4, 1}},
        // Nothing in sight, and all in sight (handed on whole).
        {QPolygonF({QPointF(far, far), QPointF(far, -far)}), false, 6, {}},
        {QPolygonF({QPointF(8, 8), QPointF(56, 8), QPointF(32, 56)}), true, 3, {}},
    };
    for (const QTransform& transform : kTransforms)
        for (size_t l = 0; l < lines.size(); ++l) {
            SCOPED_TRACE(testing::Message() << "line " << l << " transform " << transform.m11() << ","
                                            << transform.m12());
            const Line& line = lines[l];
            QPen pen(Qt::black, line.width);
            pen.setJoinStyle(Qt::MiterJoin);
            if (!line.dashes.isEmpty())
                pen.setDashPattern(line.dashes);
            const QImage whole = drawn(transform, [&](QPainter& painter) {
                painter.setPen(pen);
                if (line.closed)
                    painter.drawPolygon(line.points);
                else
                    painter.drawPolyline(line.points);
            });
            const QImage cut = drawn(transform, [&](QPainter& painter) {
                for (const VisibleGeometry::Piece& piece : VisibleGeometry(painter).line(line.points, line.closed, line.width)) {
                    EXPECT_LT(piece.points.boundingRect().width(), 1000) << "cut near what shows";
                    QPen stretch = pen;
                    stretch.setDashOffset(piece.from / line.width);
                    painter.setPen(stretch);
                    if (piece.closed)
                        painter.drawPolygon(piece.points);
                    else
                        painter.drawPolyline(piece.points);
                }
            });
            EXPECT_LE(differing(whole, cut), kRoundedAway);
        }
}
