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

// A 400 x 300 stamp with a transparent colour, turned 30 degrees and 1.5 times as large,
// placed in the middle of a full-HD frame of the same palette.
Case stamp8rot30()
{
    Case c;
    const PaletteRef palette = makePalette(256, 3);
    c.source = makePicture(400, 300, 8, palette);
    for (int y = 0; y < 300; ++y)
        for (int x = (y * 7) % 5; x < 400; x += 5)
            c.source.setPixelAt(x, y, 250);
    c.source.setTransparentColour(c.source.colourWordOf(250), true);
    c.destination.create(1920, 1080, 0, 0, 8, palette);
    c.request.destination = Rect{660, 240, 1260, 840};
    c.request.transform = PlotTransform{1.5, 1.5, 30};
    c.request.flags = kPlotMasked;
    c.transform = QTransform::fromTranslate(-200, -150) * QTransform::fromScale(1.5, 1.5)
                  * QTransform().rotate(30) * QTransform::fromTranslate(960, 540);
    c.pixels = int64_t(600) * 450;
    return c;
}

void registerCase(const char* name, Case (*make)())
{
    const std::string base = std::string("Plot/") + name;
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
    registerCase("bytes8to8", bytes8to8);
    registerCase("scale3x8to32", scale3x8to32);
    registerCase("scale2x1to32", scale2x1to32);
    registerCase("scale2x4to32", scale2x4to32);
    registerCase("stamp8rot30", stamp8rot30);
    registerCase("table4to8", table4to8);
    return true;
}();

} // namespace
