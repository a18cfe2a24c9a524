// One full repaint of a film window: a 1920 x 1080 8-bit frame shown at 100, 200 and 800% in a
// 1280 x 800 window, scrolled to the middle of the frame. Ours is the window's own path
// (FramePainter); the reference is QPainter drawing the visible part of the same frame, held as
// an Indexed8 image, with no smoothing.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstring>

#include "gfx/Colour.h"
#include "gfx/Sprite.h"
#include "view/FramePainter.h"

namespace {

using namespace celvane;

constexpr int kFrameWidth = 1920, kFrameHeight = 1080;
constexpr int kClientWidth = 1280, kClientHeight = 800;

void fillRect(Sprite& s, int left, int top, int right, int bottom, uint32_t pixel)
{
    left = std::max(left, 0);
    right = std::min(right, s.width());
    for (int y = std::max(top, 0); y < std::min(bottom, s.height()) && left < right; ++y)
        std::memset(s.rowAddress(y) + left, int(pixel), size_t(right - left));
}

// A drawing as a school film has it: white paper, a few filled shapes, many pencil strokes.
Sprite makeDrawing()
{
    Sprite s;
    s.create(kFrameWidth, kFrameHeight, 0, 0, 8);
    s.fillPixel(255);
    fillRect(s, 0, 900, kFrameWidth, kFrameHeight, 2);       // ground
    fillRect(s, 300, 300, 700, 800, 4);                      // house
    fillRect(s, 420, 550, 540, 800, 1);                      // door
    for (int y = 0; y < 220; ++y)                            // sun
        fillRect(s, 1500 + y / 2, 80 + y, 1720 - y / 2, 81 + y, 3);
    for (int k = 0; k < 60; ++k) {                           // strokes
        const int x0 = (k * 97) % 1800, y0 = 100 + (k * 53) % 700;
        for (int t = 0; t < 300; ++t)
            fillRect(s, x0 + t, y0 + (t * (k % 7 - 3)) / 10, x0 + t + 3, y0 + (t * (k % 7 - 3)) / 10 + 3,
                     uint32_t(k % 16));
    }
    return s;
}

QImage indexedImageOf(const Sprite& s)
{
    QImage image(s.width(), s.height(), QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = rgbOfWord(s.colourWordOf(uint32_t(i)));
        table.push_back(qRgb(redOf(c), greenOf(c), blueOf(c)));
    }
    image.setColorTable(table);
    for (int y = 0; y < s.height(); ++y)
        std::memcpy(image.scanLine(y), s.rowAddress(y), size_t(s.width()));
    return image;
}

// Where the frame lies in the window at `scale`, scrolled so that its middle is in the middle.
Rect frameRectAt(int scale)
{
    const int width = kFrameWidth * scale / 100, height = kFrameHeight * scale / 100;
    const int left = std::min(0, (kClientWidth - width) / 2), top = std::min(0, (kClientHeight - height) / 2);
    return {left, top, left + width, top + height};
}

void paintCelvane(benchmark::State& state, int scale)
{
    const Sprite frame = makeDrawing();
    QImage window(kClientWidth, kClientHeight, QImage::Format_RGB32);
    FramePainter painter;
    const Rect frameRect = frameRectAt(scale);
    for (auto _ : state) {
        QPainter p(&window);
        painter.paint(p, frame, frameRect, {0, 0, kClientWidth, kClientHeight});
        p.end();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kClientWidth * kClientHeight);
}

void paintReference(benchmark::State& state, int scale)
{
    const QImage frame = indexedImageOf(makeDrawing());
    QImage window(kClientWidth, kClientHeight, QImage::Format_RGB32);
    const Rect r = frameRectAt(scale);
    const double k = scale / 100.0;
    const QRectF visible(-r.left / k, -r.top / k, kClientWidth / k, kClientHeight / k);
    for (auto _ : state) {
        QPainter p(&window);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(QRectF(0, 0, kClientWidth, kClientHeight), frame, visible);
        p.end();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kClientWidth * kClientHeight);
}

const bool registered = [] {
    for (int scale : {100, 200, 800}) {
        const std::string base = "ViewPaint/" + std::to_string(scale);
        benchmark::RegisterBenchmark((base + "/celvane").c_str(), [scale](benchmark::State& s) {
            paintCelvane(s, scale);
        })->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark((base + "/reference").c_str(), [scale](benchmark::State& s) {
            paintReference(s, scale);
        })->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    return true;
}();

} // namespace
