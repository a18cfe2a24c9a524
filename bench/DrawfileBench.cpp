// Drawing Drawfiles of other programs (a butterfly of curves, a Hilbert curve of many lines,
// overlapping circles) beside QPainter filling and stroking the same paths straight from
// QPainterPaths: no slower than one and a half times.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "base/ByteIO.h"
#include "import/DrawfilePicture.h"

namespace {

using namespace celvane;

Bytes corpusFile(const std::string& name) { return readFile(std::string(CELVANE_CORPUS) + "/draw/" + name); }

struct Shape {
    QPainterPath path;
    std::optional<QColor> fill, outline;
    double width = 0;
};

QColor colourOf(uint32_t word) { return QColor(int((word >> 8) & 0xFF), int((word >> 16) & 0xFF), int(word >> 24)); }

// The paths of the file (inside groups too) in pixels, y downwards, with their colours.
void collect(const Bytes& file, size_t from, size_t to, std::vector<Shape>& out)
{
    for (size_t at = from; at + 8 <= to;) {
        const uint32_t type = loadLE32(&file[at]) & 0xFF, size = loadLE32(&file[at + 4]);
        if (size < 8 || size > to - at)
            return;
        if (type == 6)
            collect(file, at + 36, at + size, out);
        if (type == 2) {
            Shape s;
            const uint32_t fill = loadLE32(&file[at + 24]), outline = loadLE32(&file[at + 28]), style = loadLE32(&file[at + 36]);
            if (fill != 0xFFFFFFFF)
                s.fill = colourOf(fill);
            if (outline != 0xFFFFFFFF)
                s.outline = colourOf(outline);
            s.width = loadLE32(&file[at + 32]) / 512.0;
            size_t p = at + 40 + ((style & 0x80) ? 8 + 4 * size_t(loadLE32(&file[at + 44])) : 0);
            auto pt = [&](size_t q) { return QPointF(int32_t(loadLE32(&file[q])) / 512.0, -int32_t(loadLE32(&file[q + 4])) / 512.0); };
            while (p + 4 <= at + size) {
                const uint32_t tag = loadLE32(&file[p]) & 0xFF;
                if (tag == 0)
                    break;
                if (tag == 2) s.path.moveTo(pt(p + 4)), p += 8;
                else if (tag == 8) s.path.lineTo(pt(p + 4)), p += 8;
                else if (tag == 6) s.path.cubicTo(pt(p + 4), pt(p + 12), pt(p + 20)), p += 24;
                else if (tag == 5) s.path.closeSubpath();
                p += 4;
            }
            out.push_back(std::move(s));
        }
        at += size;
    }
}

void renderCelvane(benchmark::State& state, const char* name)
{
    bench::application();
    const DrawfilePicture picture(corpusFile(name));
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        picture.draw(painter, QRectF(0, 0, picture.width(), picture.height()));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void renderReference(benchmark::State& state, const char* name)
{
    bench::application();
    const Bytes file = corpusFile(name);
    const DrawfilePicture picture(file);
    std::vector<Shape> shapes;
    collect(file, 40, file.size(), shapes);
    QRectF box;
    for (const Shape& s : shapes)
        box = box.united(s.path.boundingRect());
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-box.topLeft() + QPointF(1, 1));
        for (const Shape& s : shapes) {
            if (s.fill)
                painter.fillPath(s.path, *s.fill);
            if (s.outline)
                painter.strokePath(s.path, QPen(*s.outline, s.width));
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

#define DRAW_RENDER(label, file)                                                                   \
    BENCHMARK_CAPTURE(renderCelvane, label, file)->Name("DrawRender/" #label "/celvane")->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(renderReference, label, file)->Name("DrawRender/" #label "/reference")->Unit(benchmark::kMillisecond)

DRAW_RENDER(butterfly, "ro-draw-test/Pictures-butterfly.aff");
DRAW_RENDER(HilbCurve, "ro-draw-test/HilbCurve.aff");
DRAW_RENDER(rgbcircles, "gerph-presenter/rgbcircles.aff");
