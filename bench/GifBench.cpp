// Opening a 200-frame 640x480 animated GIF as a film, beside giflib decoding the same file on
// its own; and GIF export speed, with gifsicle -O2 optimising the same frames written whole
// for a size to set ours against. The GIF is made here: a drawn film (a still background with
// a box and a line moving over it) written by our writer, as a typical animated GIF is stored.

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "import/ImportKinds.h"
#include "export/GifWriter.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "gfx/Colour.h"
#include "gfx/Sprite.h"

namespace {

using namespace celvane;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 200;

std::unique_ptr<CCelvaneDoc> drawnFilm()
{
    auto doc = std::make_unique<CCelvaneDoc>();
    doc->newDocument(ImageInfo::forFilm(kWidth, kHeight, 8));
    Film& film = *doc->film();
    for (int f = 1; f < kFrames; ++f)
        film.insertFrame(f, false);
    Sprite& probe = *film.workingImage(0);
    const uint32_t sky = probe.pixelValueForRgb(rgb(200, 230, 250));
    const uint32_t grass = probe.pixelValueForRgb(rgb(60, 170, 60));
    const uint32_t sun = probe.pixelValueForRgb(rgb(250, 220, 40));
    const uint32_t box = probe.pixelValueForRgb(rgb(220, 30, 30));
    const uint32_t ink = probe.pixelValueForRgb(rgb(10, 10, 120));
    for (int f = 0; f < kFrames; ++f) {
        Sprite& s = *film.workingImage(f);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint32_t p = y > 330 ? grass : sky;
                if ((x - 520) * (x - 520) + (y - 90) * (y - 90) < 40 * 40)
                    p = sun;
                const int bx = 20 + (f * 3) % 560;
                if (x >= bx && x < bx + 60 && y >= 280 + (f % 20) && y < 340 + (f % 20))
                    p = box;
                if (y == 40 + (f * 2) % 400 && x > 100 && x < 540)
                    p = ink;
                s.setPixelAt(x, y, p);
            }
        film.markCurrentModified();
    }
    return doc;
}

struct Fixture {
    std::unique_ptr<CCelvaneDoc> doc = drawnFilm();
    std::string path = bench::scratchPath("celvane-bench-anim200.gif");
    Fixture()
    {
        registerImportKinds();
        writeFileAtomically(path, writeGif(*doc->film()));
    }
    ~Fixture() { std::filesystem::remove(path); }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void openCelvane(benchmark::State& state)
{
    const std::string& path = fixture().path;
    for (auto _ : state) {
        CCelvaneDoc doc;
        doc.open(path);
        benchmark::DoNotOptimize(doc.film());
    }
    state.counters["bytes"] = double(std::filesystem::file_size(path));
}

void openReference(benchmark::State& state)
{
    const std::string& path = fixture().path;
    for (auto _ : state) {
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) {
            state.SkipWithError("giflib could not read the file");
            break;
        }
        benchmark::DoNotOptimize(gif->ImageCount);
        DGifCloseFile(gif, &error);
    }
}

void exportGif(benchmark::State& state)
{
    Film& film = *fixture().doc->film();
    size_t bytes = 0;
    for (auto _ : state)
        bytes = writeGif(film).size();
    state.SetItemsProcessed(int64_t(state.iterations()) * kFrames);
    state.counters["bytes"] = double(bytes);
}

// The size goal: ours at most 1.1 times gifsicle's (the counter "celvane/gifsicle").
void exportGifsicle(benchmark::State& state)
{
    if (std::system("gifsicle --version >/dev/null 2>&1") != 0) {
        state.SkipWithError("no gifsicle");
        return;
    }
    Film& film = *fixture().doc->film();
    const std::filesystem::path dir = bench::scratchPath("celvane-bench-gifsicle");
    std::filesystem::create_directories(dir);
    std::string command = "gifsicle --no-warnings -O2 --loopcount=forever";
    for (int f = 0; f < film.frameCount(); ++f) {
        GifExportOptions one;
        one.frames = {f};
        // Appended to "f", not prefixed with it: GCC 12 at -O2 warns (-Wrestrict) of a string
        // put in front of a temporary one.
        std::string name = (dir / "f").string();
        name += std::to_string(1000 + f) + ".gif";
        writeFileAtomically(name, writeGif(film, one));
        command += " " + name;
    }
    const std::string optimised = (dir / "optimised.gif").string();
    command += " -o " + optimised;
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("gifsicle failed");
            break;
        }
    if (std::filesystem::exists(optimised)) {
        const double theirs = double(std::filesystem::file_size(optimised));
        state.counters["bytes"] = theirs;
        state.counters["celvane/gifsicle"] = double(writeGif(film).size()) / theirs;
    }
    std::filesystem::remove_all(dir);
}

} // namespace

BENCHMARK(openCelvane)->Name("GifOpen/anim200/celvane")->Unit(benchmark::kMillisecond);
BENCHMARK(openReference)->Name("GifOpen/anim200/reference")->Unit(benchmark::kMillisecond);
BENCHMARK(exportGif)->Name("Export/gif/celvane")->Unit(benchmark::kMillisecond);
BENCHMARK(exportGifsicle)->Name("Export/gif/gifsicle-O2")->Unit(benchmark::kMillisecond)->Iterations(1);
