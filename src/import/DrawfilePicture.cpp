#include "import/DrawfilePicture.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QTransform>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "import/DrawFonts.h"
#include "import/RecordFields.h"
#include "import/VisibleGeometry.h"

namespace celvane {

namespace {

enum ObjectType : uint32_t { FontTable = 0, Text = 1, Path = 2, Group = 6, Tagged = 7, Options = 11, TransformedText = 12 };
enum PathTag : uint32_t { End = 0, Move = 2, MoveInternal = 3, CloseGap = 4, Close = 5, Curve = 6, Gap = 7, Line = 8 };
enum Cap { Butt = 0, Round = 1, Square = 2, Triangular = 3 };

constexpr size_t kHeaderSize = 40;
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr double kUnitsPerPixel = 512;
// Groups inside groups deeper than this are damage, not pictures.
constexpr int kDeepest = 32;
// The points all curves of a picture flatten to, at most. A curve whose control points lie far
// outside its box halves up to sixteen times, into 65536 points from 28 bytes of file: past
// this, a damaged file's curves draw as straight lines instead of filling memory.
#ifdef CELVANE_FUZZING
// Fuzzing looks for faults in the reading: the limit is reached all the same, sooner.
constexpr size_t kMostCurvePoints = size_t(1) << 16;
#else
constexpr size_t kMostCurvePoints = size_t(1) << 22; // 64 MB of them
#endif

QColor drawColour(uint32_t word) { return QColor(int((word >> 8) & 0xFF), int((word >> 16) & 0xFF), int(word >> 24)); }

struct Subpath {
    QPolygonF points; // painter coordinates
    bool closed = false;
};

// Draws (or, without a painter, measures) the objects of a Drawfile through a matrix from Draw
// units to the painter's coordinates.
class DrawWalker {
public:
    DrawWalker(ByteSpan file, QPainter* painter, const QTransform& matrix)
        : file_(file), painter_(painter), m_(matrix), scale_(std::sqrt(std::abs(matrix.determinant())))
    {
        fonts_[0] = systemDrawFont();
        if (painter_)
            visible_.emplace(*painter_);
    }

    void objects(size_t from, size_t to, int depth);
    // Nothing when no object has a place.
    const std::optional<QRectF>& bounds() const { return bounds_; }

private:
    void object(const RecordFields& o, uint32_t type, size_t at, int depth);
    void fontTable(const RecordFields& o);
    void text(const RecordFields& o, bool transformed);
    // A path object's dashes, in painter units.
    struct Dashes {
        std::vector<double> lengths;
        double start = 0;
    };

    void path(const RecordFields& o);
    // The dash pattern of a path of this style; `at` moves past it when there is one.
    Dashes dashesOf(const RecordFields& o, uint32_t style, size_t& at) const;
    // The path's elements from `at` on, curves flattened, in painter coordinates.
    std::vector<Subpath> elements(const RecordFields& o, size_t at);
    void fillArea(const std::vector<Subpath>& subpaths, const QColor& colour, uint32_t style) const;
    // The pen for a stretch of line starting `along` painter units from the path's start.
    QPen outlinePen(const QColor& colour, uint32_t width, uint32_t style, const Dashes& dashes, double along) const;
    void triangularCaps(const std::vector<Subpath>& subpaths, uint32_t width, uint32_t style, const QColor& colour) const;
    void addBox(const RecordFields& o);
    void add(const QPointF& p)
    {
        bounds_ = bounds_ ? QRectF(QPointF(std::min(bounds_->left(), p.x()), std::min(bounds_->top(), p.y())),
                                   QPointF(std::max(bounds_->right(), p.x()), std::max(bounds_->bottom(), p.y())))
                          : QRectF(p, p);
    }
    void flatten(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3, QPolygonF& out, double tolerance,
                 int depth);
    void triangle(const QPointF& end, const QPointF& before, double halfWidth, double length, const QColor& colour) const;

    ByteSpan file_;
    QPainter* painter_;
    std::optional<VisibleGeometry> visible_; // with a painter
    QTransform m_;
    double scale_;
    std::array<std::optional<DrawFont>, 256> fonts_;
    std::optional<QRectF> bounds_;
    size_t curvePointsLeft_ = kMostCurvePoints;
};

void DrawWalker::objects(size_t from, size_t to, int depth)
{
    if (depth > kDeepest)
        return;
    size_t at = from;
    while (at + 8 <= to) {
        const uint32_t type = loadLE32(file_.data() + at), size = loadLE32(file_.data() + at + 4);
        if (size < 8 || size > to - at)
            return; // the rest is damaged
        try {
            object(RecordFields(file_.subspan(at, size)), type & 0xFF, at, depth);
        } catch (const ArchiveError&) {
            // An object shorter than its fields is left out; its neighbours still draw.
        }
        at += size;
    }
}

void DrawWalker::object(const RecordFields& o, uint32_t type, size_t at, int depth)
{
    switch (type) {
    case FontTable: fontTable(o); break;
    case Text: text(o, false); break;
    case TransformedText: text(o, true); break;
    case Path:
        if (painter_)
            path(o);
        else
            addBox(o);
        break;
    case Group: objects(at + 36, at + o.size(), depth + 1); break;
    case Tagged: {
        const size_t inner = at + 28;
        if (inner + 8 <= at + o.size()) {
            const uint32_t size = o.u32(32);
            objects(inner, inner + std::min<size_t>(size, at + o.size() - inner), depth + 1);
        }
        break;
    }
    case Options: break; // its box means nothing
    default:
        if (!painter_)
            addBox(o);
        break;
    }
}

void DrawWalker::fontTable(const RecordFields& o)
{
    size_t at = 8;
    while (at < o.size()) {
        const uint8_t number = o.u8(at++);
        if (number == 0)
            break;
        std::string name;
        while (at < o.size() && o.u8(at) != 0)
            name += char(o.u8(at++));
        ++at;
        fonts_[number] = drawFontFromName(name);
    }
}

void DrawWalker::addBox(const RecordFields& o)
{
    const double x0 = o.i32(8), y0 = o.i32(12), x1 = o.i32(16), y1 = o.i32(20);
    for (const QPointF& corner : {QPointF(x0, y0), QPointF(x1, y0), QPointF(x0, y1), QPointF(x1, y1)})
        add(m_.map(corner));
}

void DrawWalker::text(const RecordFields& o, bool transformed)
{
    // Fields after the box: the transformed kind has its matrix and font flags first.
    const size_t f = transformed ? 52 : 24;
    const uint32_t colour = o.u32(f);
    const uint32_t style = o.u32(f + 8);
    double xSize = o.i32(f + 12), ySize = o.i32(f + 16);
    const QPointF baseline(o.i32(f + 20), o.i32(f + 24));
    std::string chars;
    for (size_t i = f + 28; i < o.size() && o.u8(i) != 0; ++i)
        chars += char(o.u8(i));
    double angle = std::atan2(m_.m11(), m_.m12()) * 180 / M_PI - 90;
    if (transformed) {
        const double a = o.i32(24) / 65536.0, b = o.i32(28) / 65536.0, c = o.i32(32) / 65536.0, d = o.i32(36) / 65536.0;
        xSize *= std::hypot(a, b);
        ySize *= std::hypot(c, d);
        angle += std::atan2(a, c) * 180 / M_PI - 90;
    }
    const double sx = std::hypot(m_.m11(), m_.m12()), sy = std::hypot(m_.m21(), m_.m22());
    const double pixels = ySize * sy;
    if (chars.empty() || !(pixels >= 0.5) || pixels > 20000)
        return;
    const DrawFont& font = fonts_[style & 0xFF] ? *fonts_[style & 0xFF] : *fonts_[0];
    const QFont qf = font.qfont(pixels, ySize > 0 ? xSize * sx / pixels : 1);
    const QString string = QString::fromLatin1(chars.c_str(), qsizetype(chars.size()));
    const QPointF at = m_.map(baseline);
    QTransform place;
    place.translate(at.x(), at.y());
    place.rotate(-angle);
    if (!painter_) {
        const QFontMetricsF metrics(qf);
        const QRectF box(0, -metrics.ascent(), metrics.horizontalAdvance(string), metrics.ascent() + metrics.descent());
        for (const QPointF& corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
            add(place.map(corner));
        return;
    }
    if (colour == kNone)
        return;
    painter_->save();
    painter_->setTransform(place, true);
    painter_->setFont(qf);
    painter_->setPen(drawColour(colour));
    painter_->drawText(QPointF(0, 0), string);
    painter_->restore();
}

void DrawWalker::flatten(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3, QPolygonF& out,
                         double tolerance, int depth)
{
    // Halve until the curve's midpoint lies within the tolerance of its chord's midpoint.
    const QPointF mid = (p0 + 3 * p1 + 3 * p2 + p3) / 8, chord = (p0 + p3) / 2;
    const QPointF d = mid - chord;
    if (depth >= 16 || curvePointsLeft_ == 0 || d.x() * d.x() + d.y() * d.y() <= tolerance) {
        out << m_.map(p3);
        curvePointsLeft_ -= curvePointsLeft_ > 0;
        return;
    }
    const QPointF a = (p0 + p1) / 2, b = (p1 + p2) / 2, c = (p2 + p3) / 2, ab = (a + b) / 2, bc = (b + c) / 2;
    flatten(p0, a, ab, mid, out, tolerance, depth + 1);
    flatten(mid, bc, c, p3, out, tolerance, depth + 1);
}

void DrawWalker::triangle(const QPointF& end, const QPointF& before, double halfWidth, double length, const QColor& colour) const
{
    const QPointF dir = end - before;
    const double len = std::hypot(dir.x(), dir.y());
    if (len == 0)
        return;
    const QPointF u = dir / len, across(-u.y(), u.x());
    QPainterPath cap;
    cap.addPolygon(QPolygonF({end + length * u, end + halfWidth * across, end - halfWidth * across}));
    cap.closeSubpath();
    painter_->fillPath(cap, colour);
}

void DrawWalker::path(const RecordFields& o)
{
    const uint32_t fill = o.u32(24), outline = o.u32(28), width = o.u32(32), style = o.u32(36);
    size_t at = 40;
    const Dashes dashes = dashesOf(o, style, at);
    const std::vector<Subpath> subpaths = elements(o, at);
    if (fill != kNone)
        fillArea(subpaths, drawColour(fill), style);
    if (outline == kNone)
        return;
    painter_->setBrush(Qt::NoBrush);
    const QPen pen = outlinePen(drawColour(outline), width, style, dashes, 0);
    for (const Subpath& s : subpaths)
        for (const VisibleGeometry::Piece& piece : visible_->line(s.points, s.closed, pen.isCosmetic() ? 0 : pen.widthF())) {
            painter_->setPen(piece.from == 0 ? pen : outlinePen(drawColour(outline), width, style, dashes, piece.from));
            if (piece.closed)
                painter_->drawPolygon(piece.points);
            else
                painter_->drawPolyline(piece.points);
        }
    triangularCaps(subpaths, width, style, drawColour(outline));
}

DrawWalker::Dashes DrawWalker::dashesOf(const RecordFields& o, uint32_t style, size_t& at) const
{
    Dashes dashes;
    if (!(style & 0x80))
        return dashes;
    dashes.start = o.i32(40) * scale_;
    const uint32_t count = o.u32(44);
    if (count > (o.size() - 48) / 4)
        throw ArchiveError("more dashes than the object holds");
    for (uint32_t i = 0; i < count; ++i)
        dashes.lengths.push_back(std::trunc(o.u32(48 + 4 * size_t(i)) * scale_));
    at = 48 + 4 * size_t(count);
    return dashes;
}

std::vector<Subpath> DrawWalker::elements(const RecordFields& o, size_t at)
{
    // Curves are flattened to within half a pixel.
    const double tolerance = std::max(2.0, std::trunc(std::pow(0.5 / std::max(scale_, 1e-9), 2)));
    std::vector<Subpath> subpaths;
    QPointF current;
    auto point = [&](size_t p) { return QPointF(o.i32(p), o.i32(p + 4)); };
    while (at + 4 <= o.size()) {
        const uint32_t tag = o.u32(at) & 0xFF;
        switch (tag) {
        case End: return subpaths;
        case Move:
        case MoveInternal:
        case Gap:
            current = point(at + 4);
            subpaths.push_back({QPolygonF({m_.map(current)}), false});
            at += 8;
            break;
        case Line:
            current = point(at + 4);
            if (subpaths.empty())
                subpaths.push_back({QPolygonF({m_.map(current)}), false});
            else
                subpaths.back().points << m_.map(current);
            at += 8;
            break;
        case Curve: {
            const QPointF c1 = point(at + 4), c2 = point(at + 12), end = point(at + 20);
            if (subpaths.empty())
                subpaths.push_back({QPolygonF({m_.map(current)}), false});
            flatten(current, c1, c2, end, subpaths.back().points, tolerance, 0);
            current = end;
            at += 24;
            break;
        }
        case Close:
        case CloseGap:
            if (!subpaths.empty())
                subpaths.back().closed = true;
            break;
        default: break;
        }
        at += 4;
    }
    return subpaths;
}

void DrawWalker::fillArea(const std::vector<Subpath>& subpaths, const QColor& colour, uint32_t style) const
{
    QPainterPath area;
    // Bit 6 chooses the even-odd rule; without it the non-zero rule fills.
    area.setFillRule(style & 0x40 ? Qt::OddEvenFill : Qt::WindingFill);
    for (const Subpath& s : subpaths) {
        area.addPolygon(visible_->area(s.points));
        area.closeSubpath();
    }
    painter_->fillPath(area, colour);
}

QPen DrawWalker::outlinePen(const QColor& colour, uint32_t width, uint32_t style, const Dashes& dashes, double along) const
{
    // Widths past any picture are damage (and more than Qt takes).
    const double lineWidth = width == 0 ? 0 : std::min(std::trunc(width * scale_), 1e5);
    QPen pen(colour);
    pen.setWidthF(lineWidth);
    pen.setCosmetic(lineWidth < 1);
    if (lineWidth < 1)
        pen.setWidth(1);
    const int join = style & 3, startCap = (style >> 4) & 3;
    pen.setJoinStyle(join == 1 ? Qt::RoundJoin : join == 2 ? Qt::BevelJoin : Qt::MiterJoin);
    pen.setCapStyle(startCap == Round ? Qt::RoundCap : startCap == Square ? Qt::SquareCap : Qt::FlatCap);
    // A dash of no length after scaling makes the line solid.
    const std::vector<double>& lengths = dashes.lengths;
    if (!lengths.empty() && std::none_of(lengths.begin(), lengths.end(), [](double d) { return d <= 0; })) {
        const double unit = std::max(pen.widthF(), 1.0);
        QList<qreal> pattern;
        for (double d : lengths)
            pattern << d / unit;
        if (pattern.size() % 2)
            pattern << pattern;
        pen.setDashPattern(pattern);
        pen.setDashOffset((dashes.start + along) / unit);
    }
    return pen;
}

void DrawWalker::triangularCaps(const std::vector<Subpath>& subpaths, uint32_t width, uint32_t style,
                                const QColor& colour) const
{
    // Triangular caps on the open ends, in sixteenths of the line's width.
    const int endCap = (style >> 2) & 3, startCap = (style >> 4) & 3;
    const double w = std::max<double>(width, 1) * scale_;
    const double capWidth = std::max(8u, (style >> 16) & 0xFF) * w / 16, capLength = (style >> 24) * w / 16;
    for (const Subpath& s : subpaths) {
        if (s.closed || s.points.size() < 2)
            continue;
        if (startCap == Triangular)
            triangle(s.points.first(), s.points[1], capWidth, capLength, colour);
        if (endCap == Triangular)
            triangle(s.points.last(), s.points[s.points.size() - 2], capWidth, capLength, colour);
    }
}

} // namespace

DrawfilePicture::DrawfilePicture(ByteSpan file)
{
    if (file.size() < kHeaderSize || std::memcmp(file.data(), "Draw", 4) != 0)
        throw ArchiveError("not a Drawfile");
    DrawWalker measure(file, nullptr, QTransform(1 / kUnitsPerPixel, 0, 0, -1 / kUnitsPerPixel, 0, 0));
    measure.objects(kHeaderSize, file.size(), 0);
    if (!measure.bounds() || !(measure.bounds()->width() < 32000 && measure.bounds()->height() < 32000))
        throw ArchiveError("a Drawfile with nothing to show");
    const QRectF box = *measure.bounds();
    box_ = box;
    width_ = int(box.width()) + 2;
    height_ = int(box.height()) + 2;
    bytes_.assign(file.begin(), file.end());
}

void DrawfilePicture::draw(QPainter& painter, const QRectF& into) const
{
    const double kx = into.width() / width_, ky = into.height() / height_;
    const QPointF centre = into.center(), middle = box_.center();
    const QTransform matrix(kx / kUnitsPerPixel, 0, 0, -ky / kUnitsPerPixel, centre.x() - kx * middle.x(),
                            centre.y() - ky * middle.y());
    painter.save();
    DrawWalker(bytes_, &painter, matrix).objects(kHeaderSize, bytes_.size(), 0);
    painter.restore();
}

} // namespace celvane
