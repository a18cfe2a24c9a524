// Export speed in frames per second: FLIC and AVI of a drawn film (shapes moving over a still
// background), 50 frames of 640 x 480 at 8 bits.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "BenchSupport.h"
#include "export/FlicWriter.h"
#include "export/VideoWriter.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "gfx/Sprite.h"

using namespace celvane;

namespace {
constexpr int kFrames = 50;

Film& drawnFilm()
{
    static std::unique_ptr<Film> film = [] {
        auto f = std::make_unique<Film>();
        const ImageInfo info = ImageInfo::forFilm(640, 480, 8);
        f->load(0, &info, nullptr, FileType::Film);
        for (int i = 1; i < kFrames; ++i)
            f->insertFrame(i, false);
        for (int i = 0; i < kFrames; ++i) {
            Sprite* s = f->workingImage(i);
            for (int y = 0; y < 480; ++y) {
                uint8_t* row = s->rowAddress(y);
                for (int x = 0; x < 640; ++x) {
                    const bool hill = y > 360 - (x % 200) / 4;
                    const bool ball = (x - 100 - i * 9) * (x - 100 - i * 9) + (y - 200) * (y - 200) < 40 * 40;
                    const bool line = y == 120 + i && x > 50 && x < 590;
                    row[x] = ball ? 35 : line ? 2 : hill ? 14 : 255;
                }
            }
            f->markCurrentModified();
        }
        f->makeCurrent(0);
        return f;
    }();
    return *film;
}

void flc(benchmark::State& state)
{
    Film& film = drawnFilm();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeFlic(film, false));
    state.counters["frames_per_second"] = benchmark::Counter(double(kFrames), benchmark::Counter::kIsIterationInvariantRate);
}

void avi(benchmark::State& state)
{
    Film& film = drawnFilm();
    const std::string path = bench::scratchPath("celvane-bench.avi");
    for (auto _ : state)
        writeVideo(film, path, VideoKind::Avi);
    std::filesystem::remove(path);
    state.counters["frames_per_second"] = benchmark::Counter(double(kFrames), benchmark::Counter::kIsIterationInvariantRate);
}
} // namespace

BENCHMARK(flc)->Name("Export/flc/celvane")->Unit(benchmark::kMillisecond);
BENCHMARK(avi)->Name("Export/avi/celvane")->Unit(benchmark::kMillisecond);
