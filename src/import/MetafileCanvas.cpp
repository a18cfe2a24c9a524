#include "import/MetafileCanvas.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QPaintEngine>
#include <algorithm>
#include <cmath>

#include "import/FontFaces.h"

namespace celvane {

namespace {

constexpr int kOpaque = 2;
constexpr int kWinding = 2;
constexpr int kClockwise = 2;
constexpr uint32_t kAlignUpdateCp = 1, kAlignRight = 2, kAlignCentre = 6, kAlignBottom = 8, kAlignBaseline = 24;
constexpr uint32_t kTextOpaque = 2, kTextClipped = 4;
// Wider pens than this are damage (and more than Qt takes).
constexpr double kWidest = 1e5;
// A shape no metafile reaches, standing for "no clip" when a clip must be subtracted from.
const QRectF kEverywhere(-1e7, -1e7, 2e7, 2e7);

QPainterPath rectPath(const QRectF& r)
{
    QPainterPath p;
    p.addRect(r);
    return p;
}

QPainterPath regionPath(const QRegion& region)
{
    QPainterPath p;
    p.addRegion(region);
    return p;
}

// The composition mode for a binary raster operation of pens and brushes; nullopt draws
// nothing (R2_NOP).
std::optional<QPainter::CompositionMode> penMode(int rop2)
{
    switch (rop2) {
    case 4: return QPainter::RasterOp_NotSource;                         // not copy pen
    case 6: return QPainter::RasterOp_NotDestination;                    // not
    case 7: return QPainter::RasterOp_SourceXorDestination;              // xor pen
    case 9: return QPainter::RasterOp_SourceAndDestination;              // mask pen
    case 11: return std::nullopt;                                        // nop
    case 15: return QPainter::RasterOp_SourceOrDestination;              // merge pen
    case 3: return QPainter::RasterOp_NotSourceAndDestination;           // mask not pen
    case 5: return QPainter::RasterOp_SourceAndNotDestination;           // mask pen not
    case 2: return QPainter::RasterOp_NotSourceAndNotDestination;        // not merge pen
    case 14: return QPainter::RasterOp_NotSourceOrDestination;           // merge not pen
    default: return QPainter::CompositionMode_SourceOver;
    }
}

// The same for the raster operations of bitmaps that read their source.
QPainter::CompositionMode blitMode(uint32_t rop)
{
    switch (rop >> 16) {
    case 0xEE: return QPainter::RasterOp_SourceOrDestination;          // SRCPAINT
    case 0x88: return QPainter::RasterOp_SourceAndDestination;         // SRCAND
    case 0x66: return QPainter::RasterOp_SourceXorDestination;         // SRCINVERT
    case 0x44: return QPainter::RasterOp_SourceAndNotDestination;      // SRCERASE
    case 0x33: return QPainter::RasterOp_NotSource;                    // NOTSRCCOPY
    case 0x11: return QPainter::RasterOp_NotSourceAndNotDestination;   // NOTSRCERASE
    case 0xBB: return QPainter::RasterOp_NotSourceOrDestination;       // MERGEPAINT
    case 0x22: return QPainter::RasterOp_NotSourceAndDestination;
    default: return QPainter::CompositionMode_SourceOver;              // SRCCOPY and the rest
    }
}

bool isRasterOp(QPainter::CompositionMode m) { return m >= QPainter::RasterOp_SourceOrDestination; }

// A raster operation reads its source when its result differs between source 0 and 1.
bool readsSource(uint32_t rop)
{
    const uint32_t code = rop >> 16;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

} // namespace

QPainterPath polyPath(const std::vector<QPointF>& points, bool close)
{
    QPainterPath path;
    if (points.empty())
        return path;
    path.addPolygon(QPolygonF(QList<QPointF>(points.begin(), points.end())));
    if (close)
        path.closeSubpath();
    return path;
}

MetafileCanvas::MetafileCanvas(QPainter& painter, const QTransform& deviceToOutput, QPointF pixelsPerMm, int objectSlots)
    : painter_(painter), base_(painter.transform()), deviceToOutput_(deviceToOutput), pixelsPerMm_(pixelsPerMm),
      objects_(size_t(std::clamp(objectSlots, 1, 65535))),
      rasterOps_(painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
{
    painter_.save();
    state_.font.height = -12;
}

MetafileCanvas::~MetafileCanvas() { painter_.restore(); }

// --- objects ---

void MetafileCanvas::createObject(int index, MetaObject object)
{
    if (index >= 0 && size_t(index) < objects_.size())
        objects_[size_t(index)] = std::move(object);
}

int MetafileCanvas::freeSlot() const
{
    for (size_t i = 0; i < objects_.size(); ++i)
        if (!objects_[i])
            return int(i);
    return -1;
}

void MetafileCanvas::selectObject(int index)
{
    if (index < 0 || size_t(index) >= objects_.size() || !objects_[size_t(index)])
        return;
    const MetaObject& o = *objects_[size_t(index)];
    if (const auto* p = std::get_if<MetaPen>(&o))
        state_.pen = *p;
    else if (const auto* b = std::get_if<MetaBrush>(&o))
        state_.brush = *b;
    else if (const auto* f = std::get_if<MetaFont>(&o))
        state_.font = *f;
    else if (const auto* r = std::get_if<QRegion>(&o))
        selectClipRegionLogical(*r);
    else if (const auto* pal = std::get_if<MetaPalette>(&o))
        state_.palette = pal->colours;
}

void MetafileCanvas::selectStockObject(int which)
{
    static const int greys[] = {255, 192, 128, 64, 0};
    if (which >= 0 && which <= 4) {
        state_.brush = MetaBrush{MetaBrush::Solid, QColor(greys[which], greys[which], greys[which]), 0, {}};
    } else if (which == 5) {
        state_.brush = MetaBrush{MetaBrush::Null, Qt::white, 0, {}};
    } else if (which == 6 || which == 7) {
        state_.pen = MetaPen{0, 0, which == 6 ? Qt::white : Qt::black, {}};
    } else if (which == 8) {
        state_.pen = MetaPen{5, 0, Qt::black, {}};
    } else if (which == 15) {
        state_.palette.clear();
    } else if (which >= 10 && which <= 17) {
        const bool fixed = which == 10 || which == 11 || which == 16;
        state_.font = MetaFont{-13, 0, 0, which == 13 ? 700 : 400, false, false, false, fixed ? 0x31 : 0x22, {}};
    }
}

void MetafileCanvas::deleteObject(int index)
{
    if (index >= 0 && size_t(index) < objects_.size())
        objects_[size_t(index)].reset();
}

std::optional<QRegion> MetafileCanvas::region(int index) const
{
    if (index < 0 || size_t(index) >= objects_.size() || !objects_[size_t(index)])
        return std::nullopt;
    if (const auto* r = std::get_if<QRegion>(&*objects_[size_t(index)]))
        return *r;
    return std::nullopt;
}

QColor MetafileCanvas::colour(uint32_t c) const
{
    // A palette index names an entry of the selected palette.
    if ((c >> 24) == 1) {
        const size_t i = c & 0xFFFF;
        return i < state_.palette.size() ? state_.palette[i] : QColor(Qt::black);
    }
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// --- mapping ---

void MetafileCanvas::fixViewport(QRectF viewport)
{
    fixedViewport_ = viewport;
    state_.mapMode = Anisotropic;
    state_.viewportOrg = viewport.topLeft();
    state_.viewportExt = viewport.size();
}

void MetafileCanvas::setMapMode(int mode)
{
    if (!fixedViewport_ && mode >= Text && mode <= Anisotropic)
        state_.mapMode = mode;
}

void MetafileCanvas::setWindowExt(QSizeF s)
{
    if (s.width() != 0 && s.height() != 0)
        state_.windowExt = s;
}

void MetafileCanvas::setViewportOrg(QPointF p)
{
    if (!fixedViewport_)
        state_.viewportOrg = p;
}

void MetafileCanvas::setViewportExt(QSizeF s)
{
    if (!fixedViewport_ && s.width() != 0 && s.height() != 0)
        state_.viewportExt = s;
}

void MetafileCanvas::offsetViewportOrg(QPointF d)
{
    if (!fixedViewport_)
        state_.viewportOrg += d;
}

void MetafileCanvas::scaleWindowExt(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen != 0 && yDen != 0)
        setWindowExt(QSizeF(state_.windowExt.width() * xNum / xDen, state_.windowExt.height() * yNum / yDen));
}

void MetafileCanvas::scaleViewportExt(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen != 0 && yDen != 0)
        setViewportExt(QSizeF(state_.viewportExt.width() * xNum / xDen, state_.viewportExt.height() * yNum / yDen));
}

void MetafileCanvas::modifyWorldTransform(const QTransform& t, int mode)
{
    QTransform world = state_.world;
    if (mode == 1)
        world = QTransform();
    else if (mode == 2)
        world = t * state_.world;
    else if (mode == 3)
        world = state_.world * t;
    else if (mode == 4)
        world = t;
    // A transform of numbers that are none (or that overflowed) is refused, as a drawing
    // context refuses it: the world stays as it was.
    const double m[] = {world.m11(), world.m12(), world.m21(), world.m22(), world.dx(), world.dy()};
    if (std::all_of(std::begin(m), std::end(m), [](double v) { return std::isfinite(v); }))
        state_.world = world;
}

QPointF MetafileCanvas::pageScale() const
{
    const State& s = state_;
    auto metric = [&](double mmPerUnit) { return QPointF(pixelsPerMm_.x() * mmPerUnit, -pixelsPerMm_.y() * mmPerUnit); };
    switch (s.mapMode) {
    case LoMetric: return metric(0.1);
    case HiMetric: return metric(0.01);
    case LoEnglish: return metric(0.254);
    case HiEnglish: return metric(0.0254);
    case Twips: return metric(25.4 / 1440);
    case Isotropic:
    case Anisotropic: {
        const double sx = s.viewportExt.width() / s.windowExt.width(), sy = s.viewportExt.height() / s.windowExt.height();
        if (s.mapMode == Anisotropic)
            return {sx, sy};
        const double m = std::min(std::abs(sx), std::abs(sy));
        return {std::copysign(m, sx), std::copysign(m, sy)};
    }
    default: return {1, 1};
    }
}

QTransform MetafileCanvas::logicalToOutput() const
{
    const QPointF s = pageScale();
    const QTransform page(s.x(), 0, 0, s.y(), state_.viewportOrg.x() - state_.windowOrg.x() * s.x(),
                          state_.viewportOrg.y() - state_.windowOrg.y() * s.y());
    return state_.world * page * deviceToOutput_;
}

// --- drawing ---

bool MetafileCanvas::prepare(int rop2)
{
    // A clip path is costly to set: it is set again only after it changes.
    if (!clipApplied_) {
        painter_.setTransform(base_);
        if (state_.clip)
            painter_.setClipPath(*state_.clip);
        else
            painter_.setClipping(false);
        clipApplied_ = true;
    }
    const auto mode = penMode(rop2);
    if (!mode)
        return false;
    painter_.setCompositionMode(isRasterOp(*mode) && !rasterOps_ ? QPainter::CompositionMode_SourceOver : *mode);
    painter_.setTransform(logicalToOutput() * base_);
    return true;
}

std::optional<QPen> MetafileCanvas::pen() const
{
    const MetaPen& p = state_.pen;
    const uint32_t kind = p.style & 0xF;
    if (kind == 5)
        return std::nullopt;
    QPen pen(p.colour);
    if (p.width <= 0) {
        pen.setWidth(1);
        pen.setCosmetic(true);
    } else {
        pen.setWidthF(std::min(p.width, kWidest));
    }
    static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
    if (kind < 5)
        pen.setStyle(styles[kind]);
    else if (kind == 8)
        pen.setStyle(Qt::DotLine);
    if (kind == 7 && !p.dashes.empty() && p.dashes.size() % 2 == 0 &&
        std::all_of(p.dashes.begin(), p.dashes.end(), [](double d) { return d > 0; })) {
        QList<qreal> pattern(p.dashes.begin(), p.dashes.end());
        pen.setDashPattern(pattern);
    }
    const uint32_t cap = p.style & 0xF00, join = p.style & 0xF000;
    pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
    pen.setMiterLimit(state_.miterLimit);
    return pen;
}

std::optional<QBrush> MetafileCanvas::brush(const MetaBrush& b) const
{
    switch (b.style) {
    case MetaBrush::Null: return std::nullopt;
    case MetaBrush::Hatched: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(b.colour, b.hatch >= 0 && b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
    }
    case MetaBrush::Pattern:
        if (!b.pattern.isNull())
            return QBrush(b.pattern);
        return QBrush(b.colour);
    default: return QBrush(b.colour);
    }
}

void MetafileCanvas::fillWith(const QPainterPath& path, const MetaBrush& b)
{
    const auto fill = brush(b);
    if (!fill)
        return;
    if (b.style == MetaBrush::Hatched && state_.bkMode == kOpaque)
        painter_.fillPath(path, state_.bkColour);
    // Hatches and patterns keep to the output's pixel grid.
    if (fill->style() != Qt::SolidPattern) {
        const QTransform t = painter_.transform();
        painter_.setTransform(QTransform());
        painter_.fillPath(t.map(path), *fill);
        painter_.setTransform(t);
        return;
    }
    painter_.fillPath(path, *fill);
}

void MetafileCanvas::draw(const QPainterPath& shape, bool fill, bool stroke)
{
    if (pathOpen_) {
        path_.addPath(shape);
        return;
    }
    if (!prepare(state_.rop2))
        return;
    QPainterPath path = shape;
    path.setFillRule(state_.polyFillMode == kWinding ? Qt::WindingFill : Qt::OddEvenFill);
    if (fill)
        fillWith(path, state_.brush);
    if (stroke)
        if (const auto p = pen())
            painter_.strokePath(path, *p);
}

void MetafileCanvas::strokeShape(const QPainterPath& path) { draw(path, false, true); }

void MetafileCanvas::fillShape(const QPainterPath& path) { draw(path, true, true); }

void MetafileCanvas::moveTo(QPointF p)
{
    state_.current = p;
    if (pathOpen_)
        path_.moveTo(p);
}

void MetafileCanvas::lineTo(QPointF p) { polylineTo({p}); }

void MetafileCanvas::polylineTo(const std::vector<QPointF>& points)
{
    if (points.empty())
        return;
    if (pathOpen_) {
        if (path_.elementCount() == 0)
            path_.moveTo(state_.current);
        for (QPointF p : points)
            path_.lineTo(p);
    } else {
        QPainterPath path(state_.current);
        for (QPointF p : points)
            path.lineTo(p);
        strokeShape(path);
    }
    state_.current = points.back();
}

void MetafileCanvas::polyBezierTo(const std::vector<QPointF>& points)
{
    const size_t n = points.size() / 3 * 3;
    if (n == 0)
        return;
    QPainterPath local(state_.current);
    QPainterPath& path = pathOpen_ ? path_ : local;
    if (pathOpen_ && path_.elementCount() == 0)
        path_.moveTo(state_.current);
    for (size_t i = 0; i < n; i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (!pathOpen_)
        strokeShape(local);
    state_.current = points[n - 1];
}

void MetafileCanvas::polyDraw(const std::vector<QPointF>& points, const std::vector<uint8_t>& types)
{
    QPainterPath path(state_.current);
    QPointF figureStart = state_.current;
    const size_t n = std::min(points.size(), types.size());
    for (size_t i = 0; i < n; ++i) {
        const uint8_t kind = types[i] & ~1;
        if (kind == 6) {
            path.moveTo(points[i]);
            figureStart = points[i];
        } else if (kind == 2) {
            path.lineTo(points[i]);
        } else if (kind == 4 && i + 2 < n) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            i += 2;
        }
        const bool close = types[i] & 1;
        if (close)
            path.closeSubpath();
        state_.current = close ? figureStart : points[i];
    }
    if (pathOpen_)
        path_.addPath(path);
    else
        strokeShape(path);
}

QPainterPath MetafileCanvas::arcPath(const QRectF& box, QPointF start, QPointF end, int kind) const
{
    const QRectF r = box.normalized();
    const QPointF c = r.center();
    const double rx = std::max(r.width() / 2, 1e-9), ry = std::max(r.height() / 2, 1e-9);
    // The point of the ellipse on each radial, as the angle Qt's arcs take.
    auto angle = [&](QPointF p) { return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / M_PI; };
    const double a0 = angle(start), a1 = angle(end);
    double sweep = a1 - a0;
    if (state_.arcDirection == kClockwise) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    if (kind == 2)
        path.moveTo(c);
    else if (kind == 3)
        path.moveTo(state_.current);
    else
        path.arcMoveTo(r, a0);
    path.arcTo(r, a0, sweep);
    if (kind == 1 || kind == 2)
        path.closeSubpath();
    return path;
}

void MetafileCanvas::arc(const QRectF& box, QPointF start, QPointF end, int kind)
{
    QPainterPath path = arcPath(box, start, end, kind);
    if (kind == 3) {
        state_.current = path.currentPosition();
        if (pathOpen_) {
            if (path_.elementCount() == 0)
                path_.moveTo(path.elementAt(0));
            path_.connectPath(path);
            return;
        }
    }
    draw(path, kind == 1 || kind == 2, true);
}

void MetafileCanvas::angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees)
{
    QPainterPath path(state_.current);
    path.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), startDegrees, sweepDegrees);
    state_.current = path.currentPosition();
    if (pathOpen_)
        path_.connectPath(path);
    else
        strokeShape(path);
}

void MetafileCanvas::setPixel(QPointF p, uint32_t colorRef)
{
    if (pathOpen_ || !prepare(13))
        return;
    const QPointF out = painter_.transform().map(p);
    painter_.setTransform(QTransform());
    painter_.fillRect(QRectF(std::floor(out.x()), std::floor(out.y()), 1, 1), colour(colorRef));
}

QFont MetafileCanvas::font(double pixelSize) const
{
    const MetaFont& f = state_.font;
    QFont font(familyForFace(f.face, f.pitchAndFamily));
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

void MetafileCanvas::text(QPointF reference, const QString& text, uint32_t options,
                          const std::optional<QRectF>& rect, const std::vector<double>& advances)
{
    if (pathOpen_ || !prepare(13))
        return;
    if (rect)
        textRectangle(rect->normalized(), options);
    if (text.isEmpty())
        return;
    const QTransform t = logicalToOutput();
    const bool updateCp = state_.textAlign & kAlignUpdateCp;
    const QPointF origin = t.map(updateCp ? state_.current : reference);
    // Sizes in output units: the font's height along the logical y axis, advances along x.
    const double yScale = std::hypot(t.m21(), t.m22()), xScale = std::hypot(t.m11(), t.m12());
    const MetaFont& f = state_.font;
    const double em = f.height < 0 ? -f.height : f.height > 0 ? f.height * 0.87 : 12 / std::max(yScale, 1e-9);
    const double pixels = em * yScale;
    if (!(pixels > 0.2) || pixels > 20000)
        return;
    const QFont qf = font(pixels);
    const QFontMetricsF metrics(qf);
    const double fit = pixels / qf.pixelSize();
    const std::vector<double> x = characterOffsets(text, advances, xScale, fit, metrics);
    const double width = x.back();
    const QPointF at = alignedStart(width, metrics);
    painter_.setTransform(textPlacement(origin, fit) * base_);
    painter_.setFont(qf);
    if (state_.bkMode == kOpaque && !(options & kTextOpaque))
        painter_.fillRect(QRectF(at.x(), at.y() - metrics.ascent(), width, metrics.height()), state_.bkColour);
    painter_.setPen(state_.textColour);
    if (advances.empty())
        painter_.drawText(at, text);
    else
        drawAdvanced(qf, text, x, at);
    if (updateCp) {
        const double move = width * fit / std::max(xScale, 1e-9);
        state_.current += QPointF((state_.textAlign & kAlignCentre) == kAlignRight ? -move : move, 0);
    }
}

void MetafileCanvas::textRectangle(const QRectF& rect, uint32_t options)
{
    if (options & kTextOpaque)
        painter_.fillRect(rect, state_.bkColour);
    if (options & kTextClipped) {
        painter_.setClipPath(rectPath(rect), Qt::IntersectClip);
        clipApplied_ = false; // for whatever comes after this text
    }
}

std::vector<double> MetafileCanvas::characterOffsets(const QString& text, const std::vector<double>& advances,
                                                     double xScale, double fit, const QFontMetricsF& metrics)
{
    std::vector<double> x(size_t(text.size()) + 1, 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const double step = size_t(i) < advances.size() ? advances[size_t(i)] * xScale / fit
                                                        : metrics.horizontalAdvance(text.at(i));
        x[size_t(i) + 1] = x[size_t(i)] + step;
    }
    return x;
}

QPointF MetafileCanvas::alignedStart(double width, const QFontMetricsF& metrics) const
{
    double dx = 0, dy = 0;
    const uint32_t h = state_.textAlign & kAlignCentre, v = state_.textAlign & kAlignBaseline;
    if (h == kAlignCentre)
        dx = -width / 2;
    else if (h == kAlignRight)
        dx = -width;
    if (v == kAlignBottom)
        dy = -metrics.descent();
    else if (v != kAlignBaseline)
        dy = metrics.ascent();
    return {dx, dy};
}

QTransform MetafileCanvas::textPlacement(QPointF origin, double fit) const
{
    // Text stays upright whatever the mapping's mirroring; the world transform and the
    // escapement turn it.
    const QTransform& w = state_.world;
    const double worldAngle = std::atan2(w.m12(), w.m11()) * 180 / M_PI;
    QTransform place;
    place.translate(origin.x(), origin.y());
    place.rotate(worldAngle - state_.font.escapement / 10.0);
    place.scale(fit, fit);
    return place;
}

void MetafileCanvas::drawAdvanced(const QFont& qf, const QString& text, const std::vector<double>& x, QPointF at)
{
    // Each character where the advances put it, as one run of glyphs.
    const QRawFont raw = QRawFont::fromFont(qf);
    QGlyphRun run;
    run.setRawFont(raw);
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    QList<QPointF> positions;
    for (qsizetype i = 0; i < glyphs.size(); ++i)
        positions << QPointF(x[size_t(std::min(i, text.size() - 1))], 0);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(qf.underline());
    run.setStrikeOut(qf.strikeOut());
    painter_.drawGlyphRun(at, run);
}

void MetafileCanvas::bitmap(const QImage& image, const QRectF& source, const QRectF& destination, uint32_t rop)
{
    if (!readsSource(rop)) {
        patternBlt(destination, rop);
        return;
    }
    if (pathOpen_ || image.isNull() || source.width() == 0 || source.height() == 0 || !prepare(13))
        return;
    const QPainter::CompositionMode mode = blitMode(rop);
    if (isRasterOp(mode) && rasterOps_)
        painter_.setCompositionMode(mode);
    // Source pixels onto the destination, mirrored where the two differ in sign.
    const double sx = destination.width() / source.width(), sy = destination.height() / source.height();
    const QTransform place(sx, 0, 0, sy, destination.left() - source.left() * sx, destination.top() - source.top() * sy);
    painter_.setTransform(place * painter_.transform());
    // Qt's unsmoothed scaling reads and writes outside the images when the picture lands on less
    // than a pixel across (a damaged file's rectangles do that): such a sliver is drawn smoothed.
    const QRectF onDevice = painter_.transform().mapRect(source);
    const bool sliver = onDevice.width() < 1 || onDevice.height() < 1;
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, state_.stretchMode == 4 || sliver);
    painter_.drawImage(source, image, source);
}

void MetafileCanvas::patternBlt(const QRectF& destination, uint32_t rop)
{
    if (pathOpen_ || !prepare(13))
        return;
    const QPainterPath area = rectPath(destination.normalized());
    switch (rop >> 16) {
    case 0x00: painter_.fillPath(area, Qt::black); break;                  // BLACKNESS
    case 0xFF: painter_.fillPath(area, Qt::white); break;                  // WHITENESS
    case 0x55:                                                             // DSTINVERT
        if (rasterOps_) {
            painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
            painter_.fillPath(area, Qt::black);
        }
        break;
    case 0x5A:                                                             // PATINVERT
        if (rasterOps_)
            painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        fillWith(area, state_.brush);
        break;
    case 0xAA: break;                                                      // the destination as it is
    default: fillWith(area, state_.brush); break;                         // PATCOPY and kin
    }
}

void MetafileCanvas::fillWithBrush(const QPainterPath& path, const QBrush& brush)
{
    if (pathOpen_ || !prepare(13))
        return;
    painter_.fillPath(path, brush);
}

void MetafileCanvas::fillRegion(const QRegion& region, const MetaBrush& b)
{
    if (pathOpen_ || !prepare(13))
        return;
    fillWith(regionPath(region), b);
}

void MetafileCanvas::fillRegionWith(int brushIndex, const QRegion& region)
{
    if (brushIndex >= 0 && size_t(brushIndex) < objects_.size() && objects_[size_t(brushIndex)])
        if (const auto* b = std::get_if<MetaBrush>(&*objects_[size_t(brushIndex)]))
            fillRegion(region, *b);
}

void MetafileCanvas::frameRegion(int brushIndex, const QRegion& region, QSizeF stroke)
{
    // The border is what the region loses when shrunk by the stroke on every side.
    const int w = int(stroke.width()), h = int(stroke.height());
    const QRegion inner = region & region.translated(w, 0) & region.translated(-w, 0) & region.translated(0, h) &
        region.translated(0, -h);
    fillRegionWith(brushIndex, region - inner);
}

void MetafileCanvas::invertRegion(const QRegion& region)
{
    if (pathOpen_ || !prepare(6))
        return;
    painter_.fillPath(regionPath(region), Qt::black);
}

// --- paths ---

void MetafileCanvas::beginPath()
{
    path_ = QPainterPath();
    pathOpen_ = true;
}

void MetafileCanvas::abortPath()
{
    path_ = QPainterPath();
    pathOpen_ = false;
}

void MetafileCanvas::closeFigure()
{
    if (pathOpen_)
        path_.closeSubpath();
}

void MetafileCanvas::fillPath()
{
    pathOpen_ = false;
    draw(path_, true, false);
    path_ = QPainterPath();
}

void MetafileCanvas::strokePath()
{
    pathOpen_ = false;
    draw(path_, false, true);
    path_ = QPainterPath();
}

void MetafileCanvas::strokeAndFillPath()
{
    pathOpen_ = false;
    draw(path_, true, true);
    path_ = QPainterPath();
}

void MetafileCanvas::flattenPath()
{
    QPainterPath flat;
    for (const QPolygonF& polygon : path_.toSubpathPolygons())
        flat.addPolygon(polygon);
    path_ = flat;
}

void MetafileCanvas::selectClipPath(int mode)
{
    pathOpen_ = false;
    QPainterPath path = path_;
    path.setFillRule(state_.polyFillMode == kWinding ? Qt::WindingFill : Qt::OddEvenFill);
    combineClip(logicalToOutput().map(path), mode);
    path_ = QPainterPath();
}

// --- clipping ---

void MetafileCanvas::combineClip(const QPainterPath& output, int mode)
{
    // A shape the mapping has sent past any number (a page scale grown without bound) cannot
    // clip; Qt's path clipper crashes on it.
    for (int i = 0; i < output.elementCount(); ++i) {
        const QPainterPath::Element& e = output.elementAt(i);
        if (!std::isfinite(e.x) || !std::isfinite(e.y))
            return;
    }
    clipApplied_ = false;
    const QPainterPath current = state_.clip ? *state_.clip : rectPath(kEverywhere);
    switch (mode) {
    case 1: state_.clip = state_.clip ? current.intersected(output) : output; break;
    case 2: // no clip is everywhere, and stays so
        if (state_.clip)
            state_.clip = current.united(output);
        break;
    case 3: state_.clip = current.united(output).subtracted(current.intersected(output)); break;
    case 4: state_.clip = current.subtracted(output); break;
    case 5: state_.clip = output; break;
    default: break;
    }
}

void MetafileCanvas::intersectClip(const QRectF& r) { combineClip(logicalToOutput().map(rectPath(r.normalized())), 1); }

void MetafileCanvas::excludeClip(const QRectF& r) { combineClip(logicalToOutput().map(rectPath(r.normalized())), 4); }

void MetafileCanvas::selectClipRegion(const std::optional<QRegion>& deviceRegion, int mode)
{
    if (!deviceRegion) {
        // No region with copy: no clip at all.
        if (mode == 5) {
            state_.clip.reset();
            clipApplied_ = false;
        }
        return;
    }
    combineClip(deviceToOutput_.map(regionPath(*deviceRegion)), mode);
}

void MetafileCanvas::selectClipRegionLogical(const std::optional<QRegion>& region)
{
    if (!region || region->isEmpty()) {
        state_.clip.reset();
        clipApplied_ = false;
    } else {
        combineClip(logicalToOutput().map(regionPath(*region)), 5);
    }
}

void MetafileCanvas::offsetClip(QPointF d)
{
    if (!state_.clip)
        return;
    const QTransform t = logicalToOutput();
    const QPointF moved = t.map(d) - t.map(QPointF());
    state_.clip->translate(moved);
    clipApplied_ = false;
}

void MetafileCanvas::save()
{
    // Deep nesting in a damaged file is not worth memory.
    if (saved_.size() < 1024)
        saved_.push_back(state_);
}

void MetafileCanvas::restore(int which)
{
    const int depth = int(saved_.size());
    const int target = which < 0 ? depth + which : which - 1;
    if (target < 0 || target >= depth)
        return;
    state_ = saved_[size_t(target)];
    clipApplied_ = false;
    saved_.resize(size_t(target));
}

} // namespace celvane
