// Enhanced metafile records onto the metafile canvas.

#include <QLinearGradient>
#include <QRegion>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "import/MetafileCanvas.h"
#include "import/MetafilePlayer.h"

namespace celvane {

namespace {

enum Record : uint32_t {
    Header = 1, PolyBezier, Polygon, Polyline, PolyBezierTo, PolylineTo, PolyPolyline, PolyPolygon,
    SetWindowExtEx, SetWindowOrgEx, SetViewportExtEx, SetViewportOrgEx, SetBrushOrgEx, Eof, SetPixelV,
    SetMapperFlags, SetMapMode, SetBkMode, SetPolyFillMode, SetRop2, SetStretchBltMode, SetTextAlign,
    SetColorAdjustment, SetTextColor, SetBkColor, OffsetClipRgn, MoveToEx, SetMetaRgn, ExcludeClipRect,
    IntersectClipRect, ScaleViewportExtEx, ScaleWindowExtEx, SaveDc, RestoreDc, SetWorldTransform,
    ModifyWorldTransform, SelectObject, CreatePen, CreateBrushIndirect, DeleteObject, AngleArc, Ellipse,
    Rectangle, RoundRect, Arc, Chord, Pie, SelectPalette, CreatePalette, SetPaletteEntries, ResizePalette,
    RealizePalette, ExtFloodFill, LineTo, ArcTo, PolyDraw, SetArcDirection, SetMiterLimit, BeginPath,
    EndPath, CloseFigure, FillPath, StrokeAndFillPath, StrokePath, FlattenPath, WidenPath, SelectClipPath,
    AbortPath, GdiComment = 70, FillRgn, FrameRgn, InvertRgn, PaintRgn, ExtSelectClipRgn, BitBlt, StretchBlt,
    MaskBlt, PlgBlt, SetDiBitsToDevice, StretchDiBits, ExtCreateFontIndirectW, ExtTextOutA, ExtTextOutW,
    PolyBezier16, Polygon16, Polyline16, PolyBezierTo16, PolylineTo16, PolyPolyline16, PolyPolygon16,
    PolyDraw16, CreateMonoBrush, CreateDibPatternBrushPt, ExtCreatePen, PolyTextOutA, PolyTextOutW, SetIcmMode,
    CreateColorSpace, SetColorSpace, DeleteColorSpace, SmallTextOut = 108, AlphaBlend = 114, SetLayout = 115,
    TransparentBlt = 116, GradientFill = 118, SetTextJustification = 120,
};

constexpr uint32_t kStockObject = 0x80000000;
constexpr uint32_t kGlyphIndexes = 0x10, kPairedAdvances = 0x2000;

// The picture with every pixel of the key colour made transparent.
QImage withoutColour(const QImage& picture, QRgb key)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                line[x] = 0;
    }
    return out;
}

// Records that change nothing we draw.
bool harmless(uint32_t type)
{
    switch (type) {
    case Header: case SetBrushOrgEx: case SetMapperFlags: case SetColorAdjustment: case SetMetaRgn:
    case ResizePalette: case RealizePalette: case WidenPath: case GdiComment: case SetIcmMode: case SetLayout:
    case CreateColorSpace: case SetColorSpace: case DeleteColorSpace: case SetTextJustification:
        return true;
    default: return false;
    }
}

class EnhancedPlayer {
public:
    EnhancedPlayer(const MetafileData& m, QPainter& painter, const QTransform& deviceToOutput)
        : canvas_(painter, deviceToOutput, pixelsPerMm(m), loadLE16(m.records.data() + 56))
    {
    }

    // False for a record we do not draw.
    bool play(uint32_t type, const RecordFields& r);

private:
    static QPointF pixelsPerMm(const MetafileData& m)
    {
        return {double(m.devicePixels[0]) / m.deviceMillimetres[0], double(m.devicePixels[1]) / m.deviceMillimetres[1]};
    }
    static QPointF point(const RecordFields& r, size_t at) { return QPointF(r.i32(at), r.i32(at + 4)); }
    static QRectF box(const RecordFields& r, size_t at)
    {
        const QPointF a = point(r, at), b = point(r, at + 8);
        return QRectF(a, b);
    }
    // `count` points from `at`, 32-bit or 16-bit; the count is checked against the record first.
    static std::vector<QPointF> points(const RecordFields& r, size_t at, uint32_t count, bool small)
    {
        const size_t each = small ? 4 : 8;
        if (count > (r.size() - std::min(at, r.size())) / each)
            throw ArchiveError("more points than the record holds");
        std::vector<QPointF> out(count);
        for (size_t i = 0; i < count; ++i)
            out[i] = small ? QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2)) : point(r, at + 8 * i);
        return out;
    }
    // The ellipse, rectangle or rounded rectangle of a record's box.
    static QPainterPath boxShape(uint32_t type, const RecordFields& r);
    static std::optional<QRegion> region(const RecordFields& r, size_t at, uint32_t bytes);
    static QString characters(const RecordFields& r, size_t at, uint32_t count, bool wide);
    QImage image(const RecordFields& r, size_t offBmi, size_t offBits);

    // The records by kind; each is false for a record not of its kind.
    bool mapping(uint32_t type, const RecordFields& r);
    bool modes(uint32_t type, const RecordFields& r);
    bool objects(uint32_t type, const RecordFields& r);
    bool lines(uint32_t type, const RecordFields& r);
    bool shapes(uint32_t type, const RecordFields& r);
    bool paths(uint32_t type, const RecordFields& r);
    bool regions(uint32_t type, const RecordFields& r);
    bool bitmaps(uint32_t type, const RecordFields& r);
    bool texts(uint32_t type, const RecordFields& r);

    void poly(uint32_t type, const RecordFields& r);
    void polyPoly(uint32_t type, const RecordFields& r);
    // The text record of the wide (UTF-16) or byte kind whose fields start at `at`.
    void text(bool wide, const RecordFields& r, size_t at);
    void smallText(const RecordFields& r);
    // A device-independent bitmap record, stretched or at its own size.
    void dibBlit(bool stretch, const RecordFields& r);
    void blit(uint32_t type, const RecordFields& r);
    // The picture of an alpha blend: its own alpha where it has one, faded by the constant.
    static QImage blended(QImage picture, const RecordFields& r, uint32_t blend);
    void createPen(const RecordFields& r, bool extended);
    void createBrush(const RecordFields& r);
    void createPatternBrush(const RecordFields& r);
    void createPalette(const RecordFields& r);
    void createFont(const RecordFields& r);
    void gradient(const RecordFields& r);

    MetafileCanvas canvas_;
};

std::optional<QRegion> EnhancedPlayer::region(const RecordFields& r, size_t at, uint32_t bytes)
{
    if (bytes < 32)
        return std::nullopt;
    const uint32_t count = r.u32(at + 8);
    if (count > (bytes - 32) / 16)
        throw ArchiveError("more rectangles than the region holds");
    // The rectangles lie within the record too (reading past it throws): a damaged region size
    // cannot ask for gigabytes.
    r.span(at + 32, size_t(count) * 16);
    std::vector<QRect> rects;
    rects.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t p = at + 32 + 16 * size_t(i);
        // Right and bottom are outside the rectangle: one that ends where it starts, or before,
        // holds nothing (even at the least coordinate there is).
        const int left = r.i32(p), top = r.i32(p + 4);
        const int64_t right = int64_t(r.i32(p + 8)) - 1, bottom = int64_t(r.i32(p + 12)) - 1;
        if (right >= left && bottom >= top)
            rects.emplace_back(QPoint(left, top), QPoint(int(right), int(bottom)));
    }
    QRegion out;
    out.setRects(rects.data(), int(rects.size()));
    return out;
}

QPainterPath EnhancedPlayer::boxShape(uint32_t type, const RecordFields& r)
{
    const QRectF b = box(r, 8);
    QPainterPath path;
    if (type == Ellipse)
        path.addEllipse(b);
    else if (type == Rectangle)
        path.addRect(b);
    else
        path.addRoundedRect(b.normalized(), r.i32(24) / 2.0, r.i32(28) / 2.0);
    return path;
}

QImage EnhancedPlayer::image(const RecordFields& r, size_t offBmi, size_t offBits)
{
    const uint32_t bmi = r.u32(offBmi), cbBmi = r.u32(offBmi + 4), bits = r.u32(offBits), cbBits = r.u32(offBits + 4);
    if (cbBmi == 0)
        return {};
    return dibToImage(r.span(bmi, cbBmi), r.span(bits, cbBits));
}

void EnhancedPlayer::poly(uint32_t type, const RecordFields& r)
{
    const bool small = type >= PolyBezier16;
    const uint32_t base = small ? type - PolyBezier16 + PolyBezier : type;
    const std::vector<QPointF> pts = points(r, 28, r.u32(24), small);
    switch (base) {
    case PolyBezier:
        if (!pts.empty()) {
            QPainterPath path(pts[0]);
            for (size_t i = 1; i + 2 < pts.size(); i += 3)
                path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
            canvas_.strokeShape(path);
        }
        break;
    case Polygon: canvas_.fillShape(polyPath(pts, true)); break;
    case Polyline: canvas_.strokeShape(polyPath(pts, false)); break;
    case PolyBezierTo: canvas_.polyBezierTo(pts); break;
    case PolylineTo: canvas_.polylineTo(pts); break;
    default: break;
    }
}

void EnhancedPlayer::polyPoly(uint32_t type, const RecordFields& r)
{
    const bool small = type == PolyPolyline16 || type == PolyPolygon16;
    const bool polygons = type == PolyPolygon || type == PolyPolygon16;
    const uint32_t figures = r.u32(24), total = r.u32(28);
    if (figures > (r.size() - 32) / 4)
        throw ArchiveError("more figures than the record holds");
    const size_t pointsAt = 32 + 4 * size_t(figures);
    const std::vector<QPointF> pts = points(r, pointsAt, total, small);
    QPainterPath path;
    size_t next = 0;
    for (uint32_t f = 0; f < figures; ++f) {
        const uint32_t n = r.u32(32 + 4 * size_t(f));
        if (n > pts.size() - next)
            break;
        path.addPath(polyPath(std::vector<QPointF>(pts.begin() + long(next), pts.begin() + long(next + n)), polygons));
        next += n;
    }
    if (polygons)
        canvas_.fillShape(path);
    else
        canvas_.strokeShape(path);
}

QString EnhancedPlayer::characters(const RecordFields& r, size_t at, uint32_t count, bool wide)
{
    if (!wide) {
        const ByteSpan bytes = r.span(at, count);
        return QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), qsizetype(count));
    }
    const ByteSpan bytes = r.span(at, size_t(count) * 2);
    QString string;
    string.resize(qsizetype(count));
    for (uint32_t i = 0; i < count; ++i)
        string[qsizetype(i)] = QChar(loadLE16(bytes.data() + 2 * i));
    return string;
}

void EnhancedPlayer::text(bool wide, const RecordFields& r, size_t at)
{
    const QPointF reference = point(r, at);
    const uint32_t count = r.u32(at + 8), offString = r.u32(at + 12), options = r.u32(at + 16), offDx = r.u32(at + 36);
    if (options & kGlyphIndexes)
        throw ArchiveError("glyph numbers name no characters");
    const QString string = characters(r, offString, count, wide);
    std::vector<double> advances;
    if (offDx != 0) {
        const size_t step = (options & kPairedAdvances) ? 8 : 4;
        r.span(offDx, count * step);
        for (uint32_t i = 0; i < count; ++i)
            advances.push_back(r.i32(offDx + step * i));
    }
    std::optional<QRectF> rect;
    if (options & 6)
        rect = box(r, at + 20);
    canvas_.text(reference, string, options, rect, advances);
}

void EnhancedPlayer::smallText(const RecordFields& r)
{
    constexpr uint32_t kNoRect = 0x100, kSmallChars = 0x200;
    const uint32_t count = r.u32(16), options = r.u32(20);
    if (options & kGlyphIndexes)
        throw ArchiveError("glyph numbers name no characters");
    std::optional<QRectF> rect;
    size_t at = 36;
    if (!(options & kNoRect)) {
        rect = box(r, at);
        at += 16;
    }
    canvas_.text(point(r, 8), characters(r, at, count, !(options & kSmallChars)), options & 6, rect, {});
}

void EnhancedPlayer::dibBlit(bool stretch, const RecordFields& r)
{
    const QImage picture = image(r, 48, 56);
    const double xSrc = r.i32(32), ySrc = r.i32(36), cxSrc = r.i32(40), cySrc = r.i32(44);
    const QRectF dest(r.i32(24), r.i32(28), stretch ? r.i32(72) : cxSrc, stretch ? r.i32(76) : cySrc);
    const uint32_t rop = stretch ? r.u32(68) : kSrcCopy;
    if (picture.isNull()) {
        canvas_.patternBlt(dest, rop);
        return;
    }
    // Source rows count from the bottom of the bitmap.
    canvas_.bitmap(picture, QRectF(xSrc, picture.height() - ySrc - cySrc, cxSrc, cySrc), dest, rop);
}

void EnhancedPlayer::blit(uint32_t type, const RecordFields& r)
{
    const QRectF dest(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const uint32_t rop = r.u32(40);
    const QImage picture = image(r, 84, 92);
    if (picture.isNull()) {
        canvas_.patternBlt(dest, rop);
        return;
    }
    const bool sized = type != BitBlt && type != MaskBlt;
    const QRectF source(r.i32(44), r.i32(48), sized ? r.i32(100) : dest.width(), sized ? r.i32(104) : dest.height());
    if (type == AlphaBlend)
        canvas_.bitmap(blended(picture, r, rop), source, dest, kSrcCopy);
    else if (type == TransparentBlt)
        canvas_.bitmap(withoutColour(picture, canvas_.colour(rop).rgb()), source, dest, kSrcCopy);
    else
        canvas_.bitmap(picture, source, dest, type == MaskBlt ? (rop & 0x00FFFFFF) : rop);
}

QImage EnhancedPlayer::blended(QImage picture, const RecordFields& r, uint32_t blend)
{
    const uint8_t constant = uint8_t(blend >> 16), format = uint8_t(blend >> 24);
    // With per-pixel alpha the bytes are premultiplied colours and their alpha.
    const uint32_t bmi = r.u32(84), bits = r.u32(92);
    const int w = r.i32(bmi + 4), h = r.i32(bmi + 8);
    if (format == 1 && r.u16(bmi + 14) == 32 && r.u32(bmi + 16) == 0 && w > 0 && h != 0 && w < 32768 &&
        std::abs(h) < 32768) {
        const int rows = std::abs(h);
        const ByteSpan px = r.span(bits, size_t(w) * size_t(rows) * 4);
        QImage alpha(w, rows, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < rows; ++y)
            std::memcpy(alpha.scanLine(h > 0 ? rows - 1 - y : y), px.data() + size_t(y) * size_t(w) * 4, size_t(w) * 4);
        picture = alpha;
    }
    if (constant == 255)
        return picture;
    QImage faded(picture.size(), QImage::Format_ARGB32_Premultiplied);
    faded.fill(Qt::transparent);
    QPainter p(&faded);
    p.setOpacity(constant / 255.0);
    p.drawImage(0, 0, picture);
    p.end();
    return faded;
}

void EnhancedPlayer::createPen(const RecordFields& r, bool extended)
{
    MetaPen pen;
    if (extended) {
        pen.style = r.u32(28);
        pen.width = r.u32(32);
        const uint32_t brushStyle = r.u32(36);
        pen.colour = canvas_.colour(r.u32(40));
        if (brushStyle == 1) // a hollow brush draws no line
            pen.style = (pen.style & ~0xFu) | 5;
        const uint32_t entries = r.u32(48);
        if ((pen.style & 0xF) == 7 && entries <= 16) {
            const double unit = std::max(pen.width, 1.0);
            for (uint32_t i = 0; i < entries; ++i)
                pen.dashes.push_back(r.u32(52 + 4 * i) / unit);
        }
        // A cosmetic pen is one pixel wide whatever its width says.
        if ((pen.style & 0x10000) == 0)
            pen.width = 0;
    } else {
        pen.style = r.u32(12);
        pen.width = std::abs(double(r.i32(16)));
        pen.colour = canvas_.colour(r.u32(24));
    }
    canvas_.createObject(int(r.u32(8)), pen);
}

void EnhancedPlayer::createBrush(const RecordFields& r)
{
    MetaBrush brush;
    brush.style = int(r.u32(12));
    brush.colour = canvas_.colour(r.u32(16));
    brush.hatch = int(r.u32(20));
    if (brush.style > MetaBrush::Hatched)
        brush.style = MetaBrush::Solid;
    canvas_.createObject(int(r.u32(8)), brush);
}

void EnhancedPlayer::createPalette(const RecordFields& r)
{
    const uint16_t n = r.u16(14);
    MetaPalette palette;
    for (uint16_t i = 0; i < n; ++i)
        palette.colours.emplace_back(r.u8(16 + 4 * i), r.u8(17 + 4 * i), r.u8(18 + 4 * i));
    canvas_.createObject(int(r.u32(8)), palette);
}

void EnhancedPlayer::createFont(const RecordFields& r)
{
    MetaFont font;
    font.height = r.i32(12);
    font.width = r.i32(16);
    font.escapement = r.i32(20);
    font.weight = r.i32(28);
    font.italic = r.u8(32);
    font.underline = r.u8(33);
    font.strikeOut = r.u8(34);
    font.pitchAndFamily = r.u8(39);
    for (size_t i = 0; i < 32; ++i) {
        const uint16_t c = r.u16(40 + 2 * i);
        if (c == 0)
            break;
        font.face.append(QChar(c));
    }
    canvas_.createObject(int(r.u32(8)), font);
}

void EnhancedPlayer::createPatternBrush(const RecordFields& r)
{
    MetaBrush brush;
    brush.style = MetaBrush::Pattern;
    brush.pattern = image(r, 16, 24);
    canvas_.createObject(int(r.u32(8)), brush);
}

void EnhancedPlayer::gradient(const RecordFields& r)
{
    const uint32_t vertices = r.u32(24), shapes = r.u32(28), mode = r.u32(32);
    if (vertices > (r.size() - 36) / 16)
        throw ArchiveError("more vertices than the record holds");
    struct Vertex {
        QPointF at;
        QColor colour;
    };
    std::vector<Vertex> v(vertices);
    for (uint32_t i = 0; i < vertices; ++i) {
        const size_t p = 36 + 16 * size_t(i);
        v[i] = {point(r, p), QColor(r.u16(p + 8) >> 8, r.u16(p + 10) >> 8, r.u16(p + 12) >> 8)};
    }
    const size_t indexes = mode == 2 ? 3 : 2, from = 36 + 16 * size_t(vertices);
    for (uint32_t s = 0; s < shapes; ++s) {
        std::vector<uint32_t> k(indexes);
        for (size_t j = 0; j < indexes; ++j) {
            k[j] = r.u32(from + 4 * (indexes * s + j));
            if (k[j] >= vertices)
                throw ArchiveError("a gradient names a vertex it does not have");
        }
        QPainterPath path;
        if (mode == 2) {
            // Triangles take the mean of their corners' colours.
            path = polyPath({v[k[0]].at, v[k[1]].at, v[k[2]].at}, true);
            const QColor a = v[k[0]].colour, b = v[k[1]].colour, c = v[k[2]].colour;
            canvas_.fillWithBrush(path, QColor((a.red() + b.red() + c.red()) / 3, (a.green() + b.green() + c.green()) / 3,
                                               (a.blue() + b.blue() + c.blue()) / 3));
            continue;
        }
        const QRectF box = QRectF(v[k[0]].at, v[k[1]].at).normalized();
        path.addRect(box);
        QLinearGradient shade(box.topLeft(), mode == 1 ? box.bottomLeft() : box.topRight());
        shade.setColorAt(0, v[k[0]].colour);
        shade.setColorAt(1, v[k[1]].colour);
        canvas_.fillWithBrush(path, shade);
    }
}

bool EnhancedPlayer::play(uint32_t type, const RecordFields& r)
{
    return harmless(type) || mapping(type, r) || modes(type, r) || objects(type, r) || lines(type, r)
           || shapes(type, r) || paths(type, r) || regions(type, r) || bitmaps(type, r) || texts(type, r);
}

bool EnhancedPlayer::mapping(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case SetMapMode: canvas_.setMapMode(r.i32(8)); break;
    case SetWindowExtEx: canvas_.setWindowExt(QSizeF(r.i32(8), r.i32(12))); break;
    case SetWindowOrgEx: canvas_.setWindowOrg(point(r, 8)); break;
    case SetViewportExtEx: canvas_.setViewportExt(QSizeF(r.i32(8), r.i32(12))); break;
    case SetViewportOrgEx: canvas_.setViewportOrg(point(r, 8)); break;
    case ScaleViewportExtEx: canvas_.scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20)); break;
    case ScaleWindowExtEx: canvas_.scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20)); break;
    case SetWorldTransform:
    case ModifyWorldTransform: {
        const QTransform t(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        if (!t.isInvertible() && type == SetWorldTransform)
            throw ArchiveError("a world transform that cannot be undone");
        canvas_.modifyWorldTransform(t, type == SetWorldTransform ? 4 : int(r.u32(32)));
        break;
    }
    case SaveDc: canvas_.save(); break;
    case RestoreDc: canvas_.restore(r.i32(8)); break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::modes(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case SetBkMode: canvas_.setBackgroundMode(r.i32(8)); break;
    case SetPolyFillMode: canvas_.setPolyFillMode(r.i32(8)); break;
    case SetRop2: canvas_.setRop2(r.i32(8)); break;
    case SetStretchBltMode: canvas_.setStretchMode(r.i32(8)); break;
    case SetTextAlign: canvas_.setTextAlign(r.u32(8)); break;
    case SetTextColor: canvas_.setTextColour(r.u32(8)); break;
    case SetBkColor: canvas_.setBackgroundColour(r.u32(8)); break;
    case SetArcDirection: canvas_.setArcDirection(r.i32(8)); break;
    case SetMiterLimit: canvas_.setMiterLimit(r.u32(8)); break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::objects(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case SelectObject: {
        const uint32_t index = r.u32(8);
        if (index & kStockObject)
            canvas_.selectStockObject(int(index & ~kStockObject));
        else
            canvas_.selectObject(int(index));
        break;
    }
    case SelectPalette: canvas_.selectObject(int(r.u32(8))); break;
    case DeleteObject: canvas_.deleteObject(int(r.u32(8))); break;
    case CreatePen: createPen(r, false); break;
    case ExtCreatePen: createPen(r, true); break;
    case CreateBrushIndirect: createBrush(r); break;
    case CreateMonoBrush: case CreateDibPatternBrushPt: createPatternBrush(r); break;
    case CreatePalette: createPalette(r); break;
    case ExtCreateFontIndirectW: createFont(r); break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::lines(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case PolyBezier: case Polygon: case Polyline: case PolyBezierTo: case PolylineTo:
    case PolyBezier16: case Polygon16: case Polyline16: case PolyBezierTo16: case PolylineTo16:
        poly(type, r);
        break;
    case PolyPolyline: case PolyPolygon: case PolyPolyline16: case PolyPolygon16: polyPoly(type, r); break;
    case PolyDraw: case PolyDraw16: {
        const uint32_t n = r.u32(24);
        const bool small = type == PolyDraw16;
        const std::vector<QPointF> pts = points(r, 28, n, small);
        const ByteSpan kinds = r.span(28 + n * (small ? 4 : 8), n);
        canvas_.polyDraw(pts, std::vector<uint8_t>(kinds.begin(), kinds.end()));
        break;
    }
    case MoveToEx: canvas_.moveTo(point(r, 8)); break;
    case LineTo: canvas_.lineTo(point(r, 8)); break;
    case AngleArc: canvas_.angleArc(point(r, 8), r.u32(16), r.f32(20), r.f32(24)); break;
    case Arc: canvas_.arc(box(r, 8), point(r, 24), point(r, 32), 0); break;
    case ArcTo: canvas_.arc(box(r, 8), point(r, 24), point(r, 32), 3); break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::shapes(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case Ellipse: case Rectangle: case RoundRect: canvas_.fillShape(boxShape(type, r)); break;
    case Chord: canvas_.arc(box(r, 8), point(r, 24), point(r, 32), 1); break;
    case Pie: canvas_.arc(box(r, 8), point(r, 24), point(r, 32), 2); break;
    case SetPixelV: canvas_.setPixel(point(r, 8), r.u32(16)); break;
    case GradientFill: gradient(r); break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::paths(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case BeginPath: canvas_.beginPath(); break;
    case EndPath: canvas_.endPath(); break;
    case CloseFigure: canvas_.closeFigure(); break;
    case FillPath: canvas_.fillPath(); break;
    case StrokeAndFillPath: canvas_.strokeAndFillPath(); break;
    case StrokePath: canvas_.strokePath(); break;
    case FlattenPath: canvas_.flattenPath(); break;
    case SelectClipPath: canvas_.selectClipPath(r.i32(8)); break;
    case AbortPath: canvas_.abortPath(); break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::regions(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case OffsetClipRgn: canvas_.offsetClip(point(r, 8)); break;
    case ExcludeClipRect: canvas_.excludeClip(box(r, 8)); break;
    case IntersectClipRect: canvas_.intersectClip(box(r, 8)); break;
    case ExtSelectClipRgn: canvas_.selectClipRegion(region(r, 16, r.u32(8)), r.i32(12)); break;
    case FillRgn:
        if (const auto region = EnhancedPlayer::region(r, 32, r.u32(24)))
            canvas_.fillRegionWith(int(r.u32(28)), *region);
        break;
    case FrameRgn:
        if (const auto region = EnhancedPlayer::region(r, 40, r.u32(24)))
            canvas_.frameRegion(int(r.u32(28)), *region, QSizeF(r.i32(32), r.i32(36)));
        break;
    case InvertRgn:
    case PaintRgn:
        if (const auto region = EnhancedPlayer::region(r, 28, r.u32(24)))
            type == InvertRgn ? canvas_.invertRegion(*region) : canvas_.paintRegion(*region);
        break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::bitmaps(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case SetDiBitsToDevice: case StretchDiBits: dibBlit(type == StretchDiBits, r); break;
    case BitBlt: case StretchBlt: case MaskBlt: case AlphaBlend: case TransparentBlt: blit(type, r); break;
    default: return false;
    }
    return true;
}

bool EnhancedPlayer::texts(uint32_t type, const RecordFields& r)
{
    switch (type) {
    case ExtTextOutA: case ExtTextOutW: text(type == ExtTextOutW, r, 36); break;
    case PolyTextOutA:
    case PolyTextOutW:
        // Each string's fields follow the count, 40 bytes apiece.
        for (uint32_t i = 0, n = r.u32(36); i < n; ++i)
            text(type == PolyTextOutW, r, 40 + 40 * size_t(i));
        break;
    case SmallTextOut: smallText(r); break;
    default: return false;
    }
    return true;
}

} // namespace

MetafilePlayCount playEnhancedRecords(const MetafileData& m, QPainter& painter, const QRectF& target)
{
    // The picture's bounds (reference-device pixels) fill the target; without bounds, its frame.
    QRectF bounds(QPointF(m.bounds[0], m.bounds[1]), QPointF(m.bounds[2], m.bounds[3]));
    if (!(bounds.width() > 0 && bounds.height() > 0)) {
        const double sx = double(m.devicePixels[0]) / (m.deviceMillimetres[0] * 100.0);
        const double sy = double(m.devicePixels[1]) / (m.deviceMillimetres[1] * 100.0);
        bounds = QRectF(QPointF(m.frame[0] * sx, m.frame[1] * sy), QPointF(m.frame[2] * sx, m.frame[3] * sy));
    }
    if (!(bounds.width() > 0 && bounds.height() > 0))
        bounds = QRectF(0, 0, m.displayWidth, m.displayHeight);
    const double sx = target.width() / bounds.width(), sy = target.height() / bounds.height();
    const QTransform deviceToOutput(sx, 0, 0, sy, target.left() - bounds.left() * sx, target.top() - bounds.top() * sy);

    MetafilePlayCount count;
    EnhancedPlayer player(m, painter, deviceToOutput);
    const ByteSpan all(m.records);
    size_t at = 0;
    while (at + 8 <= all.size()) {
        const uint32_t type = loadLE32(all.data() + at), size = loadLE32(all.data() + at + 4);
        if (size < 8 || size > all.size() - at)
            break;
        if (type == Eof)
            break;
        count.add([&] { return player.play(type, RecordFields(all.subspan(at, size))); });
        at += size;
    }
    return count;
}

} // namespace celvane
