#pragma once
// The drawing context a metafile's records play into: its selected objects, colours and modes,
// the mapping from logical units to the output, the path being built, the clip and the saved
// states. Both record players (Windows and enhanced) draw through it onto a QPainter.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QString>
#include <QTransform>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class QFontMetricsF;

namespace celvane {

struct MetaPen {
    uint32_t style = 0; // kind in bits 0-3, end cap in bits 8-11, join in bits 12-15
    double width = 0;   // logical units; 0 = one output pixel
    QColor colour = Qt::black;
    std::vector<double> dashes; // a user style, in pen widths
};

struct MetaBrush {
    enum Style { Solid = 0, Null = 1, Hatched = 2, Pattern = 3 };
    int style = Solid;
    QColor colour = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct MetaFont {
    int height = 0; // negative: character height; positive: cell height
    int width = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int pitchAndFamily = 0;
    QString face;
};

struct MetaPalette {
    std::vector<QColor> colours;
};

using MetaObject = std::variant<MetaPen, MetaBrush, MetaFont, QRegion, MetaPalette>;

// The points joined by lines, closed into a polygon if asked.
QPainterPath polyPath(const std::vector<QPointF>& points, bool close);

class MetafileCanvas {
public:
    enum MapMode { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };

    // `deviceToOutput` maps device pixels (of the metafile's reference device) to the painter's
    // coordinates; `pixelsPerMm` is that device's resolution, for the metric mapping modes.
    MetafileCanvas(QPainter& painter, const QTransform& deviceToOutput, QPointF pixelsPerMm, int objectSlots);
    ~MetafileCanvas();

    // Objects. Indexes outside the table or naming nothing are ignored.
    void createObject(int index, MetaObject object);
    // The lowest free slot, or -1 when the table is full (Windows metafiles).
    int freeSlot() const;
    void selectObject(int index);
    // The stock objects: brushes 0-5, pens 6-8, fonts 10-17, palette 15.
    void selectStockObject(int which);
    void deleteObject(int index);
    QColor colour(uint32_t colorRef) const;

    // Modes and colours.
    void setTextColour(uint32_t c) { state_.textColour = colour(c); }
    void setBackgroundColour(uint32_t c) { state_.bkColour = colour(c); }
    void setBackgroundMode(int mode) { state_.bkMode = mode; }
    void setPolyFillMode(int mode) { state_.polyFillMode = mode; }
    void setRop2(int rop) { state_.rop2 = rop; }
    void setTextAlign(uint32_t align) { state_.textAlign = align; }
    void setStretchMode(int mode) { state_.stretchMode = mode; }
    void setArcDirection(int direction) { state_.arcDirection = direction; }
    void setMiterLimit(double limit) { state_.miterLimit = limit; }

    // Mapping. With a fixed viewport the mapping mode and viewport records are ignored (a
    // Windows metafile is played with its window mapped onto the output).
    void fixViewport(QRectF viewport);
    void setMapMode(int mode);
    void setWindowOrg(QPointF p) { state_.windowOrg = p; }
    void setWindowExt(QSizeF s);
    void setViewportOrg(QPointF p);
    void setViewportExt(QSizeF s);
    void offsetWindowOrg(QPointF d) { state_.windowOrg += d; }
    void offsetViewportOrg(QPointF d);
    void scaleWindowExt(double xNum, double xDen, double yNum, double yDen);
    void scaleViewportExt(double xNum, double xDen, double yNum, double yDen);
    // mode: 1 identity, 2 multiply before, 3 multiply after, 4 set.
    void modifyWorldTransform(const QTransform& t, int mode);

    // Drawing, in logical units; inside a path bracket the shapes join the path instead.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polylineTo(const std::vector<QPointF>& points);
    void polyBezierTo(const std::vector<QPointF>& points);
    // Types per point: 6 move, 2 line, 4 Bézier, with 1 added to close the figure.
    void polyDraw(const std::vector<QPointF>& points, const std::vector<uint8_t>& types);
    void strokeShape(const QPainterPath& path);
    void fillShape(const QPainterPath& path);
    // One arc of the ellipse in `box` from the radial through `start` to the radial through
    // `end`, in the arc direction: 0 arc, 1 chord, 2 pie, 3 arc from the current position.
    void arc(const QRectF& box, QPointF start, QPointF end, int kind);
    void angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees);
    void setPixel(QPointF p, uint32_t colorRef);
    // Options: 2 opaque rectangle, 4 clipped to it. `advances` (logical units) may be empty.
    void text(QPointF reference, const QString& text, uint32_t options, const std::optional<QRectF>& rect,
              const std::vector<double>& advances);
    // `source` in the image's pixels onto `destination` in logical units, by a raster operation.
    void bitmap(const QImage& image, const QRectF& source, const QRectF& destination, uint32_t rop);
    // Raster operations without a source: the brush, black, white, or the inverse.
    void patternBlt(const QRectF& destination, uint32_t rop);
    // A shape filled with a brush of its own (a gradient), whatever is selected.
    void fillWithBrush(const QPainterPath& path, const QBrush& brush);
    void fillRegion(const QRegion& region, const MetaBrush& brush);
    void fillRegionWith(int brushIndex, const QRegion& region);
    void frameRegion(int brushIndex, const QRegion& region, QSizeF stroke);
    void invertRegion(const QRegion& region);
    void paintRegion(const QRegion& region) { fillRegion(region, state_.brush); }
    std::optional<QRegion> region(int index) const;

    // Paths.
    void beginPath();
    void endPath() { pathOpen_ = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void flattenPath();
    void selectClipPath(int mode);

    // Clipping: rectangles in logical units, regions in device pixels. Region modes: 1 and,
    // 2 or, 3 xor, 4 diff, 5 copy.
    void intersectClip(const QRectF& r);
    void excludeClip(const QRectF& r);
    void selectClipRegion(const std::optional<QRegion>& deviceRegion, int mode);
    void selectClipRegionLogical(const std::optional<QRegion>& region);
    void offsetClip(QPointF d);

    void save();
    // Negative: that many levels back; positive: the level of that number.
    void restore(int which);

private:
    struct State {
        MetaPen pen;
        MetaBrush brush;
        MetaFont font;
        std::vector<QColor> palette;
        QColor textColour = Qt::black;
        QColor bkColour = Qt::white;
        int bkMode = 2;
        int polyFillMode = 1;
        int rop2 = 13;
        uint32_t textAlign = 0;
        int stretchMode = 1;
        int arcDirection = 1;
        double miterLimit = 10;
        int mapMode = Text;
        QPointF windowOrg, viewportOrg;
        QSizeF windowExt{1, 1}, viewportExt{1, 1};
        QTransform world;
        QPointF current;
        std::optional<QPainterPath> clip; // output coordinates
    };

    QTransform logicalToOutput() const;
    QPointF pageScale() const;
    // Sets the painter's clip and transform for drawing in logical units; false when the raster
    // operation draws nothing.
    bool prepare(int rop2);
    std::optional<QPen> pen() const;
    std::optional<QBrush> brush(const MetaBrush& b) const;
    void fillWith(const QPainterPath& path, const MetaBrush& b);
    void combineClip(const QPainterPath& output, int mode);
    void draw(const QPainterPath& path, bool fill, bool stroke);
    QPainterPath arcPath(const QRectF& box, QPointF start, QPointF end, int kind) const;
    QFont font(double pixelSize) const;
    // Text's opaque background and clip, as its options ask.
    void textRectangle(const QRectF& rect, uint32_t options);
    // Where each character of a text starts and the last one ends, in the font's units: from the
    // advances (logical units) as far as they go, then from the font.
    static std::vector<double> characterOffsets(const QString& text, const std::vector<double>& advances,
                                                double xScale, double fit, const QFontMetricsF& metrics);
    // The start of a text of this width from its reference point, as the alignment asks.
    QPointF alignedStart(double width, const QFontMetricsF& metrics) const;
    QTransform textPlacement(QPointF origin, double fit) const;
    void drawAdvanced(const QFont& qf, const QString& text, const std::vector<double>& x, QPointF at);

    QPainter& painter_;
    // The painter's own transform, under everything the metafile does.
    QTransform base_;
    QTransform deviceToOutput_;
    QPointF pixelsPerMm_;
    std::optional<QRectF> fixedViewport_;
    std::vector<std::optional<MetaObject>> objects_;
    State state_;
    std::vector<State> saved_;
    QPainterPath path_;
    bool pathOpen_ = false;
    bool rasterOps_ = false;
    // The painter holds the state's clip.
    bool clipApplied_ = false;
};

} // namespace celvane
