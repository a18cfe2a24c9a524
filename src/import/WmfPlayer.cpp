// Windows metafile records onto the metafile canvas. The metafile's window is mapped onto the
// target: first the placeable header's bounds, then whatever window the records set.

#include <QRegion>
#include <algorithm>

#include "import/MetafileCanvas.h"
#include "import/MetafilePlayer.h"

namespace celvane {

namespace {

enum Function : uint16_t {
    Eof = 0x0000, SaveDc = 0x001E, RealizePalette = 0x0035, SetPalEntries = 0x0037, CreatePalette = 0x00F7,
    SetBkMode = 0x0102, SetMapMode = 0x0103, SetRop2 = 0x0104, SetRelAbs = 0x0105, SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107, SetTextCharExtra = 0x0108, RestoreDc = 0x0127, InvertRegion = 0x012A,
    PaintRegion = 0x012B, SelectClipRegion = 0x012C, SelectObject = 0x012D, SetTextAlign = 0x012E,
    ResizePalette = 0x0139, DibCreatePatternBrush = 0x0142, DeleteObject = 0x01F0, CreatePatternBrush = 0x01F9,
    SetBkColor = 0x0201, SetTextColor = 0x0209, SetTextJustification = 0x020A, SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C, SetViewportOrg = 0x020D, SetViewportExt = 0x020E, OffsetWindowOrg = 0x020F,
    OffsetViewportOrg = 0x0211, LineTo = 0x0213, MoveTo = 0x0214, OffsetClipRgn = 0x0220, FillRegion = 0x0228,
    SetMapperFlags = 0x0231, SelectPalette = 0x0234, CreatePenIndirect = 0x02FA, CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC, Polygon = 0x0324, Polyline = 0x0325, ScaleWindowExt = 0x0410,
    ScaleViewportExt = 0x0412, ExcludeClipRect = 0x0415, IntersectClipRect = 0x0416, Ellipse = 0x0418,
    Rectangle = 0x041B, SetPixel = 0x041F, FrameRegion = 0x0429, AnimatePalette = 0x0436, TextOut = 0x0521,
    PolyPolygon = 0x0538, RoundRect = 0x061C, PatBlt = 0x061D, Escape = 0x0626, CreateRegion = 0x06FF,
    Arc = 0x0817, Pie = 0x081A, Chord = 0x0830, BitBlt = 0x0922, StretchBlt = 0x0B23, DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    DibStretchBlt = 0x0B41, SetDibToDev = 0x0D33, StretchDib = 0x0F43,
};

bool harmless(uint16_t f)
{
    switch (f) {
    case RealizePalette: case SetPalEntries: case SetRelAbs: case SetTextCharExtra: case ResizePalette:
    case SetTextJustification: case SetMapperFlags: case AnimatePalette: case Escape:
        return true;
    default: return false;
    }
}

class WindowsPlayer {
public:
    WindowsPlayer(const MetafileData& m, QPainter& painter, const QRectF& target)
        : canvas_(painter, QTransform(), QPointF(96 / 25.4, 96 / 25.4), m.objectCount + 16)
    {
        canvas_.fixViewport(target);
        if (m.placeable) {
            const PlaceableHeader& p = *m.placeable;
            canvas_.setWindowOrg(QPointF(p.left, p.top));
            canvas_.setWindowExt(QSizeF(p.right - p.left, p.bottom - p.top));
        } else {
            canvas_.setWindowExt(QSizeF(m.displayWidth, m.displayHeight));
        }
    }

    // False for a record we do not draw.
    bool play(uint16_t function, const RecordFields& r);

private:
    // Parameters are 16-bit words after the 6-byte record header.
    static int16_t p(const RecordFields& r, int i) { return r.i16(6 + 2 * size_t(i)); }
    static QPointF yx(const RecordFields& r, int i) { return QPointF(p(r, i + 1), p(r, i)); }
    // Bottom, right, top, left from parameter i on.
    static QRectF brtl(const RecordFields& r, int i)
    {
        return QRectF(QPointF(p(r, i + 3), p(r, i + 2)), QPointF(p(r, i + 1), p(r, i)));
    }
    static std::vector<QPointF> points(const RecordFields& r, size_t at, size_t count)
    {
        r.span(at, count * 4);
        std::vector<QPointF> out(count);
        for (size_t i = 0; i < count; ++i)
            out[i] = QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2));
        return out;
    }
    // The points of a polygon or polyline record, their count first.
    static std::vector<QPointF> polyPoints(const RecordFields& r)
    {
        return points(r, 8, size_t(std::max<int>(p(r, 0), 0)));
    }
    static QRegion region(const RecordFields& r);
    // An old device bitmap: its 10-byte header at the start of `object`, its bits at `bitsAt`;
    // a null image for kinds we cannot show.
    static QImage bitmap16ToImage(ByteSpan object, size_t bitsAt);
    void add(MetaObject object)
    {
        // Every object takes the lowest free slot, even one we cannot draw, so that later
        // selections name the right objects.
        canvas_.createObject(canvas_.freeSlot(), std::move(object));
    }
    // The records by kind; each is false for a record not of its kind.
    bool mapping(uint16_t function, const RecordFields& r);
    bool modes(uint16_t function, const RecordFields& r);
    bool objects(uint16_t function, const RecordFields& r);
    bool lines(uint16_t function, const RecordFields& r);
    bool shapes(uint16_t function, const RecordFields& r);
    bool regions(uint16_t function, const RecordFields& r);
    bool bitmaps(uint16_t function, const RecordFields& r);
    bool texts(uint16_t function, const RecordFields& r);

    void createPen(const RecordFields& r);
    void createBrush(const RecordFields& r);
    void createFont(const RecordFields& r);
    void createPalette(const RecordFields& r);
    void polyPolygon(const RecordFields& r);
    void text(uint16_t function, const RecordFields& r);
    void blit(uint16_t function, const RecordFields& r);
    std::optional<QRegion> regionAt(const RecordFields& r, int i) const { return canvas_.region(uint16_t(p(r, i))); }

    MetafileCanvas canvas_;
};

QImage WindowsPlayer::bitmap16ToImage(ByteSpan object, size_t bitsAt)
{
    // Device bitmaps of the old records: rows top-down, monochrome or true colour.
    const RecordFields b(object);
    const int width = b.i16(2), height = b.i16(4), rowBytes = b.i16(6), planes = b.u8(8), bits = b.u8(9);
    if (width <= 0 || height <= 0 || planes != 1 || (bits != 1 && bits != 24 && bits != 32)
        || rowBytes < (width * bits + 7) / 8)
        return {};
    const ByteSpan pixels = b.span(bitsAt, size_t(rowBytes) * size_t(height));
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels.data() + size_t(y) * size_t(rowBytes);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bits == 1) {
                line[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const uint8_t* p = row + size_t(x) * size_t(bits / 8);
                line[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return image;
}

QRegion WindowsPlayer::region(const RecordFields& r)
{
    const QRect bounds(QPoint(p(r, 7), p(r, 8)), QPoint(p(r, 9) - 1, p(r, 10) - 1));
    const int scans = p(r, 5);
    QRegion out;
    size_t at = 28;
    for (int s = 0; s < scans; ++s) {
        const uint16_t count = r.u16(at);
        const int top = r.i16(at + 2), bottom = r.i16(at + 4);
        if (count % 2 != 0 || r.u16(at + 6 + 2 * size_t(count)) != count)
            return bounds.isValid() ? QRegion(bounds) : QRegion();
        for (size_t k = 0; k < count; k += 2) {
            const int left = r.i16(at + 6 + 2 * k), right = r.i16(at + 8 + 2 * k);
            if (right > left && bottom > top)
                out += QRect(left, top, right - left, bottom - top);
        }
        at += 8 + 2 * size_t(count);
    }
    return scans == 0 && bounds.isValid() ? QRegion(bounds) : out;
}

void WindowsPlayer::text(uint16_t function, const RecordFields& r)
{
    QPointF at;
    std::optional<QRectF> rect;
    uint16_t options = 0;
    size_t stringAt;
    int count;
    if (function == TextOut) {
        count = p(r, 0);
        stringAt = 8;
        at = yx(r, 1 + (std::max(count, 0) + 1) / 2);
    } else {
        at = yx(r, 0);
        count = p(r, 2);
        options = r.u16(12);
        stringAt = 14;
        if (options & 6) {
            rect = QRectF(QPointF(p(r, 4), p(r, 5)), QPointF(p(r, 6), p(r, 7)));
            stringAt = 22;
        }
    }
    if (count < 0)
        throw ArchiveError("a negative character count");
    const ByteSpan bytes = r.span(stringAt, size_t(count));
    const QString string = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), count);
    std::vector<double> advances;
    const size_t dxAt = stringAt + (size_t(count) + 1) / 2 * 2;
    if (function == ExtTextOut && r.size() >= dxAt + 2 * size_t(count))
        for (int i = 0; i < count; ++i)
            advances.push_back(r.i16(dxAt + 2 * size_t(i)));
    canvas_.text(at, string, options, rect, advances);
}

void WindowsPlayer::blit(uint16_t function, const RecordFields& r)
{
    const uint32_t rop = r.u32(6);
    const size_t words = r.size() / 2;
    QRectF source, dest;
    size_t dibAt = 0;
    bool fromBottom = false;
    switch (function) {
    case BitBlt:
    case DibBitBlt:
        if (words == 12) { // no bitmap: a pattern operation
            canvas_.patternBlt(QRectF(yx(r, 7), QSizeF(p(r, 6), p(r, 5))), rop);
            return;
        }
        source = QRectF(yx(r, 2), QSizeF(p(r, 5), p(r, 4)));
        dest = QRectF(yx(r, 6), source.size());
        dibAt = 22;
        break;
    case StretchBlt:
    case DibStretchBlt:
        if (words == 14) {
            canvas_.patternBlt(QRectF(yx(r, 9), QSizeF(p(r, 8), p(r, 7))), rop);
            return;
        }
        source = QRectF(yx(r, 4), QSizeF(p(r, 3), p(r, 2)));
        dest = QRectF(yx(r, 8), QSizeF(p(r, 7), p(r, 6)));
        dibAt = 26;
        break;
    case StretchDib:
        source = QRectF(yx(r, 5), QSizeF(p(r, 4), p(r, 3)));
        dest = QRectF(yx(r, 9), QSizeF(p(r, 8), p(r, 7)));
        dibAt = 28;
        fromBottom = true;
        break;
    default: // SetDibToDev
        source = QRectF(yx(r, 3), QSizeF(p(r, 6), p(r, 5)));
        dest = QRectF(yx(r, 7), source.size());
        dibAt = 24;
        fromBottom = true;
        break;
    }
    const ByteSpan bitmap = r.span(dibAt, r.size() - std::min(dibAt, r.size()));
    const bool old = function == BitBlt || function == StretchBlt;
    const QImage image = old ? bitmap16ToImage(bitmap, 10) : packedDibToImage(bitmap);
    if (image.isNull())
        throw ArchiveError("a bitmap that cannot be read");
    if (fromBottom)
        source.moveTop(image.height() - source.top() - source.height());
    canvas_.bitmap(image, source, dest, function == SetDibToDev ? kSrcCopy : rop);
}

bool WindowsPlayer::play(uint16_t function, const RecordFields& r)
{
    return harmless(function) || mapping(function, r) || modes(function, r) || objects(function, r)
           || lines(function, r) || shapes(function, r) || regions(function, r) || bitmaps(function, r)
           || texts(function, r);
}

bool WindowsPlayer::mapping(uint16_t function, const RecordFields& r)
{
    switch (function) {
    case SetMapMode: canvas_.setMapMode(p(r, 0)); break;
    case SetWindowOrg: canvas_.setWindowOrg(yx(r, 0)); break;
    case SetWindowExt: canvas_.setWindowExt(QSizeF(p(r, 1), p(r, 0))); break;
    case SetViewportOrg: canvas_.setViewportOrg(yx(r, 0)); break;
    case SetViewportExt: canvas_.setViewportExt(QSizeF(p(r, 1), p(r, 0))); break;
    case OffsetWindowOrg: canvas_.offsetWindowOrg(yx(r, 0)); break;
    case OffsetViewportOrg: canvas_.offsetViewportOrg(yx(r, 0)); break;
    case ScaleWindowExt: canvas_.scaleWindowExt(p(r, 3), p(r, 2), p(r, 1), p(r, 0)); break;
    case ScaleViewportExt: canvas_.scaleViewportExt(p(r, 3), p(r, 2), p(r, 1), p(r, 0)); break;
    case SaveDc: canvas_.save(); break;
    case RestoreDc: canvas_.restore(p(r, 0)); break;
    default: return false;
    }
    return true;
}

bool WindowsPlayer::modes(uint16_t function, const RecordFields& r)
{
    switch (function) {
    case SetBkMode: canvas_.setBackgroundMode(p(r, 0)); break;
    case SetRop2: canvas_.setRop2(p(r, 0)); break;
    case SetPolyFillMode: canvas_.setPolyFillMode(p(r, 0)); break;
    case SetStretchBltMode: canvas_.setStretchMode(p(r, 0)); break;
    case SetTextAlign: canvas_.setTextAlign(uint16_t(p(r, 0))); break;
    case SetBkColor: canvas_.setBackgroundColour(r.u32(6)); break;
    case SetTextColor: canvas_.setTextColour(r.u32(6)); break;
    default: return false;
    }
    return true;
}

bool WindowsPlayer::objects(uint16_t function, const RecordFields& r)
{
    switch (function) {
    case SelectObject:
    case SelectPalette: canvas_.selectObject(uint16_t(p(r, 0))); break;
    case DeleteObject: canvas_.deleteObject(uint16_t(p(r, 0))); break;
    case CreatePenIndirect: createPen(r); break;
    case CreateBrushIndirect: createBrush(r); break;
    case CreateFontIndirect: createFont(r); break;
    case CreatePalette: createPalette(r); break;
    case DibCreatePatternBrush: {
        MetaBrush brush;
        brush.style = MetaBrush::Pattern;
        brush.colour = Qt::black;
        brush.pattern = packedDibToImage(r.span(10, r.size() - std::min<size_t>(10, r.size())));
        add(brush);
        break;
    }
    case CreatePatternBrush: {
        // The bitmap's header, its (unused) bits pointer and 18 reserved bytes, then the bits.
        // A brush whose bitmap is damaged still takes its slot.
        MetaBrush brush{MetaBrush::Pattern, Qt::black, 0, {}};
        try {
            brush.pattern = bitmap16ToImage(r.span(6, r.size() - std::min<size_t>(6, r.size())), 32);
        } catch (const ArchiveError&) {
        }
        add(brush);
        break;
    }
    case CreateRegion: add(region(r)); break;
    default: return false;
    }
    return true;
}

bool WindowsPlayer::lines(uint16_t function, const RecordFields& r)
{
    switch (function) {
    case MoveTo: canvas_.moveTo(yx(r, 0)); break;
    case LineTo: canvas_.lineTo(yx(r, 0)); break;
    case Polyline: canvas_.strokeShape(polyPath(polyPoints(r), false)); break;
    case Arc: canvas_.arc(brtl(r, 4), yx(r, 2), yx(r, 0), 0); break;
    default: return false;
    }
    return true;
}

bool WindowsPlayer::shapes(uint16_t function, const RecordFields& r)
{
    switch (function) {
    case Ellipse:
    case Rectangle: {
        QPainterPath path;
        function == Ellipse ? path.addEllipse(brtl(r, 0)) : path.addRect(brtl(r, 0));
        canvas_.fillShape(path);
        break;
    }
    case RoundRect: {
        QPainterPath path;
        path.addRoundedRect(brtl(r, 2).normalized(), p(r, 1) / 2.0, p(r, 0) / 2.0);
        canvas_.fillShape(path);
        break;
    }
    case Polygon: canvas_.fillShape(polyPath(polyPoints(r), true)); break;
    case PolyPolygon: polyPolygon(r); break;
    case Pie: canvas_.arc(brtl(r, 4), yx(r, 2), yx(r, 0), 2); break;
    case Chord: canvas_.arc(brtl(r, 4), yx(r, 2), yx(r, 0), 1); break;
    case SetPixel: canvas_.setPixel(yx(r, 2), r.u32(6)); break;
    default: return false;
    }
    return true;
}

bool WindowsPlayer::regions(uint16_t function, const RecordFields& r)
{
    switch (function) {
    case OffsetClipRgn: canvas_.offsetClip(yx(r, 0)); break;
    case ExcludeClipRect: canvas_.excludeClip(brtl(r, 0)); break;
    case IntersectClipRect: canvas_.intersectClip(brtl(r, 0)); break;
    case SelectClipRegion: canvas_.selectClipRegionLogical(regionAt(r, 0)); break;
    case FillRegion:
        if (const auto region = regionAt(r, 0))
            canvas_.fillRegionWith(uint16_t(p(r, 1)), *region);
        break;
    case FrameRegion:
        if (const auto region = regionAt(r, 0))
            canvas_.frameRegion(uint16_t(p(r, 1)), *region, QSizeF(p(r, 3), p(r, 2)));
        break;
    case InvertRegion:
    case PaintRegion:
        if (const auto region = regionAt(r, 0))
            function == InvertRegion ? canvas_.invertRegion(*region) : canvas_.paintRegion(*region);
        break;
    default: return false;
    }
    return true;
}

bool WindowsPlayer::bitmaps(uint16_t function, const RecordFields& r)
{
    switch (function) {
    case PatBlt: canvas_.patternBlt(QRectF(yx(r, 4), QSizeF(p(r, 3), p(r, 2))), r.u32(6)); break;
    case BitBlt: case StretchBlt: case DibBitBlt: case DibStretchBlt: case StretchDib: case SetDibToDev:
        blit(function, r);
        break;
    default: return false;
    }
    return true;
}

bool WindowsPlayer::texts(uint16_t function, const RecordFields& r)
{
    if (function != TextOut && function != ExtTextOut)
        return false;
    text(function, r);
    return true;
}

void WindowsPlayer::createPen(const RecordFields& r)
{
    MetaPen pen;
    pen.style = uint16_t(p(r, 0));
    pen.width = std::abs(p(r, 1));
    pen.colour = canvas_.colour(r.u32(12));
    add(pen);
}

void WindowsPlayer::createBrush(const RecordFields& r)
{
    MetaBrush brush;
    brush.style = uint16_t(p(r, 0));
    brush.colour = canvas_.colour(r.u32(8));
    brush.hatch = r.u16(12);
    if (brush.style > MetaBrush::Hatched)
        brush.style = MetaBrush::Solid;
    add(brush);
}

void WindowsPlayer::createFont(const RecordFields& r)
{
    MetaFont font;
    font.height = p(r, 0);
    font.width = p(r, 1);
    font.escapement = p(r, 2);
    font.weight = p(r, 4);
    font.italic = r.u8(16);
    font.underline = r.u8(17);
    font.strikeOut = r.u8(18);
    font.pitchAndFamily = r.u8(23);
    for (size_t i = 24; i < std::min<size_t>(r.size(), 56) && r.u8(i) != 0; ++i)
        font.face.append(QChar(r.u8(i)));
    add(font);
}

void WindowsPlayer::createPalette(const RecordFields& r)
{
    MetaPalette palette;
    const uint16_t n = r.u16(8);
    for (uint16_t i = 0; i < n; ++i)
        palette.colours.emplace_back(r.u8(10 + 4 * i), r.u8(11 + 4 * i), r.u8(12 + 4 * i));
    add(palette);
}

void WindowsPlayer::polyPolygon(const RecordFields& r)
{
    const uint16_t figures = r.u16(6);
    size_t at = 8 + 2 * size_t(figures);
    QPainterPath path;
    for (uint16_t f = 0; f < figures; ++f) {
        const uint16_t n = r.u16(8 + 2 * size_t(f));
        path.addPath(polyPath(points(r, at, n), true));
        at += 4 * size_t(n);
    }
    canvas_.fillShape(path);
}

} // namespace

MetafilePlayCount playWindowsRecords(const MetafileData& m, QPainter& painter, const QRectF& target)
{
    MetafilePlayCount count;
    WindowsPlayer player(m, painter, target);
    const ByteSpan all(m.records);
    size_t at = kWindowsHeaderSize;
    while (at + 6 <= all.size()) {
        const uint64_t bytes = uint64_t(loadLE32(all.data() + at)) * 2;
        const uint16_t function = loadLE16(all.data() + at + 4);
        if (bytes < 6 || bytes > all.size() - at || function == Eof)
            break;
        count.add([&] { return player.play(function, RecordFields(all.subspan(at, size_t(bytes)))); });
        at += size_t(bytes);
    }
    return count;
}

} // namespace celvane
