#include "import/MetafileRecorder.h"

#include <QPaintEngine>
#include <QPixmap>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace celvane {

// Hands everything painted to the recorder as shapes and images in the picture's pixels.
class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(MetafileRecorder& device)
        : QPaintEngine(PrimitiveTransform | PatternTransform | PixmapTransform | PainterPaths | Antialiasing |
                       BrushStroke | AlphaBlend | LinearGradientFill | ConstantOpacity),
          device_(device)
    {
    }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen)
            pen_ = state.pen();
        if (dirty & DirtyBrush)
            brush_ = state.brush();
        if (dirty & DirtyTransform)
            transform_ = state.transform();
    }

    void drawPath(const QPainterPath& path) override { add(path, true); }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
        if (mode != PolylineMode)
            path.closeSubpath();
        path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        add(path, mode != PolylineMode);
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        QPainterPath path;
        path.addText(p, item.font(), item.text());
        MetafileRecorder::Shape shape;
        shape.path = transform_.map(path);
        shape.fill = pen_.color();
        if (pen_.style() != Qt::NoPen && pen_.color().alpha() > 0)
            device_.shapes_.push_back(std::move(shape));
    }

    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        MetafileRecorder::Shape shape;
        shape.image = image.copy(sr.toAlignedRect()).convertToFormat(QImage::Format_ARGB32);
        shape.target = transform_.mapRect(r);
        if (!shape.image.isNull())
            device_.shapes_.push_back(std::move(shape));
    }

private:
    void add(const QPainterPath& path, bool fillable)
    {
        MetafileRecorder::Shape shape;
        shape.path = transform_.map(path);
        shape.path.setFillRule(path.fillRule());
        if (fillable && brush_.style() != Qt::NoBrush) {
            QColor c = brush_.color();
            if (const QGradient* g = brush_.gradient(); g && !g->stops().isEmpty())
                c = g->stops().front().second;
            if (c.alpha() > 0)
                shape.fill = c;
        }
        if (pen_.style() != Qt::NoPen && pen_.color().alpha() > 0) {
            QPen pen = pen_;
            const double scale = std::sqrt(std::abs(transform_.determinant()));
            pen.setWidthF(pen.isCosmetic() ? pen.widthF() : pen.widthF() * scale);
            shape.pen = pen;
        }
        if (shape.fill || shape.pen)
            device_.shapes_.push_back(std::move(shape));
    }

    MetafileRecorder& device_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
};

namespace {

uint32_t colorRef(const QColor& c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

// The pen style bits for a pen: kind, end cap and join.
uint32_t penStyle(const QPen& pen)
{
    uint32_t kind = 0;
    switch (pen.style()) {
    case Qt::DashLine: kind = 1; break;
    case Qt::DotLine: kind = 2; break;
    case Qt::DashDotLine: kind = 3; break;
    case Qt::DashDotDotLine: kind = 4; break;
    default: break;
    }
    const uint32_t cap = pen.capStyle() == Qt::SquareCap ? 0x100 : pen.capStyle() == Qt::FlatCap ? 0x200 : 0;
    const uint32_t join = pen.joinStyle() == Qt::BevelJoin ? 0x1000 : pen.joinStyle() == Qt::RoundJoin ? 0 : 0x2000;
    return kind | cap | join;
}

// A DIB's 40-byte header for rows of `bits` per pixel, bottom-up.
Bytes dibHeader(int width, int height, int bits)
{
    Bytes out;
    ByteWriter w(&out);
    w.u32(40);
    w.u32(uint32_t(width));
    w.u32(uint32_t(height));
    w.u16(1);
    w.u16(uint16_t(bits));
    w.u32(0);
    w.u32(uint32_t(((width * bits + 31) / 32) * 4 * height));
    w.zeros(16);
    return out;
}

// The image's rows bottom-up as 32-bit premultiplied or 24-bit pixels.
Bytes dibPixels(const QImage& image, int bits)
{
    const QImage src = image.convertToFormat(bits == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const size_t stride = size_t(((src.width() * bits + 31) / 32) * 4);
    Bytes out(stride * size_t(src.height()), 0);
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uint8_t* row = out.data() + stride * size_t(src.height() - 1 - y);
        for (int x = 0; x < src.width(); ++x) {
            uint8_t* p = row + size_t(x) * size_t(bits / 8);
            p[0] = uint8_t(qBlue(line[x]));
            p[1] = uint8_t(qGreen(line[x]));
            p[2] = uint8_t(qRed(line[x]));
            if (bits == 32)
                p[3] = uint8_t(qAlpha(line[x]));
        }
    }
    return out;
}

// Enhanced metafile records, in sixteenths of a pixel.
class EnhancedWriter {
public:
    EnhancedWriter(int width, int height) : width_(width), height_(height)
    {
        header();
        record(17, {8});             // anisotropic mapping
        record(9, {width * kUnit, height * kUnit});
        record(11, {width, height});
    }

    void shape(const MetafileRecorder::Shape& s)
    {
        if (!s.image.isNull()) {
            image(s.image, s.target);
            return;
        }
        if (s.pen) {
            const QPen& pen = *s.pen;
            if (pen.widthF() <= 0 || pen.isCosmetic()) {
                record(38, {1, int(penStyle(pen) & 0xF), std::max(0, int(std::lround(pen.widthF()))), 0, int(colorRef(pen.color()))});
            } else {
                // A geometric pen: its width in logical units, its caps and join.
                record(95, {1, 0, 0, 0, 0, int(penStyle(pen) | 0x10000), int(std::lround(pen.widthF() * kUnit)), 0,
                            int(colorRef(pen.color())), 0, 0});
            }
        }
        if (s.fill)
            record(39, {2, 0, int(colorRef(*s.fill)), 0});
        record(37, {s.pen ? 1 : int(0x80000008)});
        record(37, {s.fill ? 2 : int(0x80000005)});
        record(19, {s.path.fillRule() == Qt::WindingFill ? 2 : 1});
        record(59, {});
        pathRecords(s.path);
        record(60, {});
        const QRect b = s.path.boundingRect().toAlignedRect();
        const std::vector<int> bounds = {b.left(), b.top(), b.right(), b.bottom()};
        record(s.pen && s.fill ? 63 : s.fill ? 62 : 64, bounds);
        record(37, {int(0x80000007)});
        record(37, {int(0x80000000)});
        if (s.pen)
            record(40, {1});
        if (s.fill)
            record(40, {2});
    }

    Bytes finish()
    {
        record(14, {0, 16, 20});
        storeLE32(out_.data() + 48, uint32_t(out_.size()));
        storeLE32(out_.data() + 52, uint32_t(records_));
        storeLE16(out_.data() + 56, 3);
        return std::move(out_);
    }

private:
    static constexpr int kUnit = 16;

    void header()
    {
        ByteWriter w(&out_);
        w.u32(1);
        w.u32(108);
        for (int v : {0, 0, width_, height_})
            w.u32(uint32_t(v));
        for (int v : {0, 0, width_ * 2540 / 96, height_ * 2540 / 96})
            w.u32(uint32_t(v));
        w.u32(0x464D4520);
        w.u32(0x10000);
        w.u32(0); // bytes, set at the end
        w.u32(0); // records
        w.u16(0); // handles
        w.u16(0);
        w.u32(0);
        w.u32(0);
        w.u32(0);
        for (int v : {kRecordedDevicePixels[0], kRecordedDevicePixels[1], kRecordedDeviceMillimetres[0],
                      kRecordedDeviceMillimetres[1]})
            w.u32(uint32_t(v));
        w.u32(0);
        w.u32(0);
        w.u32(0);
        w.u32(uint32_t(kRecordedDeviceMillimetres[0] * 1000));
        w.u32(uint32_t(kRecordedDeviceMillimetres[1] * 1000));
        ++records_;
    }

    void record(uint32_t type, const std::vector<int>& words, ByteSpan extra = {})
    {
        ByteWriter w(&out_);
        w.u32(type);
        w.u32(uint32_t(8 + 4 * words.size() + extra.size()));
        for (int v : words)
            w.u32(uint32_t(v));
        w.bytes(extra);
        ++records_;
    }

    int unit(double v) const { return int(std::lround(v * kUnit)); }

    void pathRecords(const QPainterPath& path)
    {
        QPointF start;
        std::vector<int> curve;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                if (i > 0 && QPointF(path.elementAt(i - 1)) == start)
                    record(61, {});
                record(27, {unit(e.x), unit(e.y)});
                start = e;
            } else if (e.isLineTo()) {
                record(54, {unit(e.x), unit(e.y)});
            } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
                const QPointF c1 = e, c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
                record(5, {0, 0, 0, 0, 3, unit(c1.x()), unit(c1.y()), unit(c2.x()), unit(c2.y()), unit(end.x()), unit(end.y())});
                i += 2;
            }
        }
        if (path.elementCount() > 2 && QPointF(path.elementAt(path.elementCount() - 1)) == start)
            record(61, {});
    }

    void image(const QImage& img, const QRectF& target)
    {
        const bool alpha = img.hasAlphaChannel();
        const Bytes head = dibHeader(img.width(), img.height(), alpha ? 32 : 24);
        const Bytes bits = dibPixels(img, alpha ? 32 : 24);
        Bytes extra = head;
        extra.insert(extra.end(), bits.begin(), bits.end());
        const QRect t(unit(target.left()), unit(target.top()), unit(target.width()), unit(target.height()));
        const QRect b = target.toAlignedRect();
        if (alpha) {
            const int headerBytes = 108;
            record(114, {b.left(), b.top(), b.right(), b.bottom(), t.left(), t.top(), t.width(), t.height(),
                         int(0x01FF0000), 0, 0, 0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0, headerBytes, int(head.size()),
                         headerBytes + int(head.size()), int(bits.size()), img.width(), img.height()},
                   extra);
        } else {
            const int headerBytes = 80;
            record(81, {b.left(), b.top(), b.right(), b.bottom(), t.left(), t.top(), 0, 0, img.width(), img.height(),
                        headerBytes, int(head.size()), headerBytes + int(head.size()), int(bits.size()), 0,
                        int(kSrcCopy), t.width(), t.height()},
                   extra);
        }
    }

    int width_, height_;
    Bytes out_;
    int records_ = 0;
};

// Windows metafile records: 16-bit coordinates, no curves, a fresh pen and brush per shape.
class WindowsWriter {
public:
    WindowsWriter(int width, int height)
        : width_(width), height_(height), unit_(std::max(1, std::min(16, 32000 / std::max({width, height, 1}))))
    {
        out_.resize(kWindowsHeaderSize);
        record(0x0103, {8});
        record(0x020B, {0, 0});
        record(0x020C, {int16_t(height * unit_), int16_t(width * unit_)});
    }

    void shape(const MetafileRecorder::Shape& s)
    {
        if (!s.image.isNull()) {
            image(s.image, s.target);
            return;
        }
        const QList<QPolygonF> polygons = s.path.toSubpathPolygons();
        if (s.fill) {
            select(std::nullopt, s.fill);
            record(0x0106, {s.path.fillRule() == Qt::WindingFill ? 2 : 1});
            std::vector<int16_t> params = {int16_t(polygons.size())};
            for (const QPolygonF& p : polygons)
                params.push_back(int16_t(std::min<qsizetype>(p.size(), 8000)));
            for (const QPolygonF& p : polygons)
                for (qsizetype i = 0; i < std::min<qsizetype>(p.size(), 8000); ++i)
                    point(params, p[i]);
            record(0x0538, params);
            unselect();
        }
        if (s.pen) {
            select(s.pen, std::nullopt);
            for (const QPolygonF& p : polygons) {
                for (qsizetype from = 0; from + 1 < p.size(); from += 7999) {
                    std::vector<int16_t> params = {int16_t(std::min<qsizetype>(p.size() - from, 8000))};
                    for (qsizetype i = from; i < from + params[0]; ++i)
                        point(params, p[i]);
                    record(0x0325, params);
                }
            }
            unselect();
        }
    }

    Bytes finish()
    {
        record(0x0000, {});
        ByteWriter h(&header_);
        PlaceableHeader{0, 0, width_, height_, 96}.write(h);
        uint8_t* w = out_.data();
        storeLE16(w, 1);
        storeLE16(w + 2, 9);
        storeLE16(w + 4, 0x0300);
        storeLE32(w + 6, uint32_t(out_.size() / 2));
        storeLE16(w + 10, 2);
        storeLE32(w + 12, largest_);
        storeLE16(w + 16, 0);
        Bytes all = header_;
        all.insert(all.end(), out_.begin(), out_.end());
        return all;
    }

private:
    void record(uint16_t function, const std::vector<int16_t>& params, ByteSpan extra = {})
    {
        const size_t words = 3 + params.size() + (extra.size() + 1) / 2;
        ByteWriter w(&out_);
        w.u32(uint32_t(words));
        w.u16(function);
        for (int16_t v : params)
            w.u16(uint16_t(v));
        w.bytes(extra);
        if (extra.size() % 2)
            w.u8(0);
        largest_ = std::max(largest_, uint32_t(words));
    }
    void record(uint16_t function, std::initializer_list<int> params)
    {
        std::vector<int16_t> p;
        for (int v : params)
            p.push_back(int16_t(v));
        record(function, p);
    }
    int16_t unit(double v) const { return int16_t(std::clamp<long>(std::lround(v * unit_), -32768, 32767)); }
    void point(std::vector<int16_t>& params, QPointF p) const
    {
        params.push_back(unit(p.x()));
        params.push_back(unit(p.y()));
    }

    // The pen goes in slot 0 and the brush in slot 1 (the lowest free slots).
    void select(const std::optional<QPen>& pen, const std::optional<QColor>& fill)
    {
        const uint32_t c = pen ? colorRef(pen->color()) : 0;
        const int width = pen && !pen->isCosmetic() ? std::max(0, int(std::lround(pen->widthF() * unit_))) : 0;
        record(0x02FA, {pen ? int(penStyle(*pen)) : 5, width, 0, int(c & 0xFFFF), int(c >> 16)});
        const uint32_t f = fill ? colorRef(*fill) : 0;
        record(0x02FC, {fill ? 0 : 1, int(f & 0xFFFF), int(f >> 16), 0});
        record(0x012D, {0});
        record(0x012D, {1});
    }
    void unselect()
    {
        record(0x01F0, {0});
        record(0x01F0, {1});
    }

    // With transparency: the mask cuts the picture's shape out (and), the picture, black where
    // it is clear, goes in (or).
    void image(const QImage& img, const QRectF& target)
    {
        const QRectF t(unit(target.left()), unit(target.top()), unit(target.right()) - unit(target.left()),
                       unit(target.bottom()) - unit(target.top()));
        if (img.hasAlphaChannel()) {
            QImage mask(img.size(), QImage::Format_RGB32), picture(img.size(), QImage::Format_RGB32);
            for (int y = 0; y < img.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
                for (int x = 0; x < img.width(); ++x) {
                    const bool opaque = qAlpha(line[x]) >= 128;
                    mask.setPixel(x, y, opaque ? 0xFF000000 : 0xFFFFFFFF);
                    picture.setPixel(x, y, opaque ? (line[x] | 0xFF000000) : 0xFF000000);
                }
            }
            stretchDib(mask, t, kSrcAnd);
            stretchDib(picture, t, kSrcPaint);
        } else {
            stretchDib(img, t, kSrcCopy);
        }
    }
    void stretchDib(const QImage& img, const QRectF& t, uint32_t rop)
    {
        Bytes dib = dibHeader(img.width(), img.height(), 24);
        const Bytes bits = dibPixels(img, 24);
        dib.insert(dib.end(), bits.begin(), bits.end());
        record(0x0F43,
               {int16_t(rop & 0xFFFF), int16_t(rop >> 16), 0, int16_t(img.height()), int16_t(img.width()), 0, 0,
                int16_t(t.height()), int16_t(t.width()), int16_t(t.top()), int16_t(t.left())},
               dib);
    }

    int width_, height_, unit_;
    Bytes out_, header_;
    uint32_t largest_ = 0;
};

} // namespace

MetafileRecorder::MetafileRecorder(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)), engine_(std::make_unique<RecordingEngine>(*this))
{
}

MetafileRecorder::~MetafileRecorder() = default;

QPaintEngine* MetafileRecorder::paintEngine() const { return engine_.get(); }

int MetafileRecorder::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return width_;
    case PdmHeight: return height_;
    case PdmWidthMM: return width_ * 254 / 960;
    case PdmHeightMM: return height_ * 254 / 960;
    case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
    case PdmDepth: return 32;
    case PdmNumColors: return INT_MAX;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return 0;
    }
}

Bytes MetafileRecorder::finish(MetafileKind kind) const
{
    if (kind == MetafileKind::Enhanced) {
        EnhancedWriter writer(width_, height_);
        for (const Shape& s : shapes_)
            writer.shape(s);
        return writer.finish();
    }
    WindowsWriter writer(width_, height_);
    for (const Shape& s : shapes_)
        writer.shape(s);
    return writer.finish();
}

} // namespace celvane
