// Ghosting and playback on a 1920 x 1080 8-bit film of drawings:
//  - Blend/level5: the blend of four neighbours (in-betweening, two each side), decoding them,
//    averaging with the paper and dithering to 8 bits;
//  - Blend/rect64: re-composing a 64 x 64 rectangle of the composite, as a tool does per move;
//  - PlaybackStep/hd: one step of playback in a real window (offscreen) at 100%: decoding the
//    next frame, and painting it. Goal: well inside 40 ms, for 25 frames a second.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstring>
#include <memory>

#include "BenchSupport.h"

#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "playback/PlaybackController.h"
#include "view/CCelvaneView.h"
#include "view/PreviewCache.h"

namespace {

using namespace celvane;

constexpr int kWidth = 1920, kHeight = 1080, kFrames = 6;

void fillRect(Sprite& s, int left, int top, int right, int bottom, uint8_t pixel)
{
    left = std::max(left, 0);
    right = std::min(right, s.width());
    for (int y = std::max(top, 0); y < std::min(bottom, s.height()) && left < right; ++y)
        std::memset(s.rowAddress(y) + left, pixel, size_t(right - left));
}

// Frame k of a walking figure: paper, ground and a house, strokes moving a little each frame.
void drawFrame(Film& film, int k)
{
    Sprite& s = *film.workingImage(k);
    s.fillColour(film.paper());
    fillRect(s, 0, 900, kWidth, kHeight, 2);
    fillRect(s, 300, 300, 700, 800, 4);
    for (int stroke = 0; stroke < 60; ++stroke) {
        const int x0 = (stroke * 97 + k * 12) % 1800, y0 = 100 + (stroke * 53) % 700;
        for (int t = 0; t < 300; ++t)
            fillRect(s, x0 + t, y0 + (t * (stroke % 7 - 3)) / 10, x0 + t + 3, y0 + (t * (stroke % 7 - 3)) / 10 + 3,
                     uint8_t(stroke % 16));
    }
    film.markCurrentModified();
}

std::unique_ptr<CCelvaneDoc> makeDocument()
{
    auto doc = std::make_unique<CCelvaneDoc>();
    doc->newDocument(ImageInfo::forFilm(kWidth, kHeight, 8));
    Film& film = *doc->film();
    for (int k = 1; k < kFrames; ++k)
        film.insertFrame(k, false);
    for (int k = 0; k < kFrames; ++k)
        drawFrame(film, k);
    film.makeCurrent(0);
    return doc;
}

void BlendLevel5(benchmark::State& state)
{
    auto doc = makeDocument();
    Film& film = *doc->film();
    film.makeCurrent(2);
    const auto frames = PreviewLevels::neighbours(5, 2, film.frameCount(), false);
    PreviewCache cache;
    for (auto _ : state) {
        cache.markStale();
        cache.buildBlend(film, frames, 8);
        benchmark::DoNotOptimize(cache.blend().pixels());
    }
}
BENCHMARK(BlendLevel5)->Name("Blend/level5")->Unit(benchmark::kMillisecond);

void BlendRect64(benchmark::State& state)
{
    auto doc = makeDocument();
    Film& film = *doc->film();
    PreviewCache cache;
    cache.buildBlend(film, PreviewLevels::neighbours(5, 2, film.frameCount(), false), 8);
    const Sprite& frame = *film.workingImage(2);
    int k = 0;
    for (auto _ : state) {
        const int x = (k * 67) % (kWidth - 64), y = (k * 41) % (kHeight - 64);
        cache.buildComposite(frame, {x, y, x + 64, y + 64});
        benchmark::DoNotOptimize(cache.composite().pixels());
        ++k;
    }
}
BENCHMARK(BlendRect64)->Name("Blend/rect64")->Unit(benchmark::kMicrosecond);

void PlaybackStepHd(benchmark::State& state)
{
    bench::application();
    auto doc = makeDocument();
    auto view = std::make_unique<CCelvaneView>(*doc);
    auto* playback = new PlaybackController(*view);
    view->setDrawingTool(false);
    view->resize(kWidth, kHeight);
    view->show();
    QApplication::processEvents();
    playback->playback().start(1);
    for (auto _ : state)
        playback->playback().onTimer(Playback::kStepTimer);
    playback->playback().stop();
    state.counters["frames"] = double(state.iterations());
}
BENCHMARK(PlaybackStepHd)->Name("PlaybackStep/hd")->Unit(benchmark::kMillisecond);

} // namespace
