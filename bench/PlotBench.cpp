// Plotting throughput in destination megapixels per second, each case beside QPainter drawing
// the same picture (held as an indexed or RGB32 QImage) onto an RGB32 QImage with the same
// transform and no smoothing.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <cstring>
#include <functional>
#include <random>

#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "stamps/StampPlacement.h"

namespace {

using namespace celvane;

PaletteRef makePalette(int count, unsigned seed)
{
    PaletteRef palette = PaletteRef::make();
    palette->setCount(count);
    std::mt19937 random(seed);
    for (int i = 0; i < count; ++i)
        palette->setEntry(i, (random() & 0xFFFFFFu) << 8);
    return palette;
}

// A picture of soft blobs of colour, like a frame of a school film.
Sprite makePicture(int width, int height, int bits, const PaletteRef& palette)
{
    Sprite s;
    s.create(width, height, 0, 0, bits, palette);
    const uint32_t colours = bits == 32 ? 0x1000000u : 1u << bits;
    std::mt19937 random(uint32_t(width * 31 + bits));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.setPixelAt(x, y, ((x / 9) * 7 + (y / 7) * 13 + (random() % 3)) % colours);
    return s;
}

// The same picture as QPainter takes it: indexed (Mono for 1 bit) with the palette as its
// colour table; the transparent colour, if any, fully transparent.
QImage imageOf(const Sprite& s)
{
    const int bits = s.bitsPerPixel();
    QImage image(s.width(), s.height(), bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < (1 << bits); ++i) {
        const uint32_t c = rgbOfWord(s.colourWordOf(uint32_t(i)));
        table.push_back(qRgb(redOf(c), greenOf(c), blueOf(c)));
    }
    if (s.hasTransparentColour())
        table[int(s.pixelValueOf(s.transparentColour()))] = qRgba(0, 0, 0, 0);
    image.setColorTable(table);
    for (int y = 0; y < s.height(); ++y) {
        uint8_t* line = image.scanLine(y);
        if (bits == 4)
            for (int x = 0; x < s.width(); ++x)
                line[x] = uint8_t(s.pixelAt(x, y));
        else
            std::memcpy(line, s.rowAddress(y), size_t(s.usedBytesPerRow()));
    }
    return image;
}

struct Case {
    Sprite source;
    Sprite destination;
    PlotRequest request;
    QTransform transform; // for QPainter: picture coordinates to destination
    int64_t pixels = 0;   // destination pixels drawn per plot
};

void runCelvane(benchmark::State& state, Case& c)
{
    c.request.destinationSprite = &c.destination;
    for (auto _ : state) {
        c.source.plot(c.request);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * c.pixels);
}

void runReference(benchmark::State& state, Case& c)
{
    const QImage picture = imageOf(c.source);
    QImage screen(c.destination.width(), c.destination.height(), QImage::Format_RGB32);
    screen.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setTransform(c.transform);
        painter.drawImage(0, 0, picture);
        painter.end();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * c.pixels);
}

// A picture of `width` x `height` at `bits`, scaled by `scale` onto a destination of
// `destinationBits` at the origin.
Case scaled(int width, int height, int bits, int scale, int destinationBits, bool samePalette)
{
    Case c;
    const PaletteRef palette = makePalette(1 << std::min(bits, 8), 1);
    c.source = makePicture(width, height, bits, palette);
    c.destination.create(width * scale, height * scale, 0, 0, destinationBits,
                         samePalette ? palette : makePalette(256, 2));
    c.request.destination = Rect{0, 0, width * scale, height * scale};
    c.transform = QTransform::fromScale(scale, scale);
    c.pixels = int64_t(width) * height * scale * scale;
    return c;
}

Case bytes8to8() { return scaled(1920, 1080, 8, 1, 8, true); }
Case scale3x8to32() { return scaled(640, 360, 8, 3, 32, false); }
Case scale2x1to32() { return scaled(960, 540, 1, 2, 32, false); }
Case scale2x4to32() { return scaled(960, 540, 4, 2, 32, false); }
Case table4to8() { return scaled(1920, 1080, 4, 1, 8, false); }

// A stamp with a transparent colour, turned 30 degrees and `scale` times as large, placed in
// the middle of a full-HD frame of the same palette.
Case turnedStamp(int width, int height, double scale)
{
    Case c;
    const PaletteRef palette = makePalette(256, 3);
    c.source = makePicture(width, height, 8, palette);
    for (int y = 0; y < height; ++y)
        for (int x = (y * 7) % 5; x < width; x += 5)
            c.source.setPixelAt(x, y, 250);
    c.source.setTransparentColour(c.source.colourWordOf(250), true);
    c.destination.create(1920, 1080, 0, 0, 8, palette);
    const int w = int(width * scale), h = int(height * scale);
    c.request.destination = Rect{960 - w / 2, 540 - h / 2, 960 - w / 2 + w, 540 - h / 2 + h};
    c.request.transform = PlotTransform{scale, scale, 30};
    c.request.flags = kPlotMasked;
    c.transform = QTransform::fromTranslate(-width / 2.0, -height / 2.0) * QTransform::fromScale(scale, scale)
                  * QTransform().rotate(30) * QTransform::fromTranslate(960, 540);
    c.pixels = int64_t(w) * h;
    return c;
}

Case stamp8rot30() { return turnedStamp(400, 300, 1.5); }
Case stampRot30() { return turnedStamp(256, 256, 1); }

// One pointer move of a child stretching a turned stamp across the frame: the area under the
// last placement is put back, and the stamp is drawn at its new size.
void stampDrag(benchmark::State& state)
{
    Case c = turnedStamp(256, 256, 1);
    Sprite clean;
    clean.create(1920, 1080, 0, 0, 8, c.destination.palette());
    clean.copyPixelsFrom(c.destination);
    const std::optional<PlotTransform> own = PlotTransform{1, 1, 30};
    StampPlacer placer;
    const Point corner = placer.start(StampPlaceMode::Scale, {960, 540}, 256, 256, own).value_or(Point{});
    Rect last;
    int step = 0;
    for (auto _ : state) {
        // The pointer wanders about the corner it was put on, so that the size keeps changing.
        const Point at{corner.x + step % 41 - 20, corner.y + step * 7 % 41 - 20};
        ++step;
        c.destination.copyAreaFrom(clean, last);
        const PlotRequest plot = stampPlot(placer.place(at), own, kPlotMasked, 0, &c.destination);
        c.source.plot(plot);
        last = stampChangedArea(c.source, plot);
        benchmark::ClobberMemory();
    }
}

void registerCase(const char* group, const char* name, Case (*make)())
{
    const std::string base = std::string(group) + "/" + name;
    benchmark::RegisterBenchmark((base + "/celvane").c_str(), [make](benchmark::State& state) {
        Case c = make();
        runCelvane(state, c);
    })->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark((base + "/reference").c_str(), [make](benchmark::State& state) {
        Case c = make();
        runReference(state, c);
    })->Unit(benchmark::kMillisecond)->UseRealTime();
}

const bool registered = [] {
    registerCase("Plot", "bytes8to8", bytes8to8);
    registerCase("Plot", "scale3x8to32", scale3x8to32);
    registerCase("Plot", "scale2x1to32", scale2x1to32);
    registerCase("Plot", "scale2x4to32", scale2x4to32);
    registerCase("Plot", "stamp8rot30", stamp8rot30);
    registerCase("Plot", "table4to8", table4to8);
    registerCase("StampPlot", "rot30", stampRot30);
    benchmark::RegisterBenchmark("StampDrag/rot30scale", stampDrag)->Unit(benchmark::kMillisecond)->UseRealTime();
    return true;
}();

} // namespace
