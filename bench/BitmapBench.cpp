// Opening a 4000 x 3000 24-bit bitmap, the most common picture a school brings, as a film,
// beside Qt's own reader loading the same file. The file is made here: a smooth gradient with
// some noise, as a photograph would be.

#include <benchmark/benchmark.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "base/ByteIO.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"

namespace {

using namespace celvane;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

Bytes photographBitmap()
{
    const uint32_t stride = (3 * kWidth + 3) & ~3u;
    const uint32_t imageSize = stride * kHeight;
    Bytes file;
    file.reserve(54 + imageSize);
    ByteWriter w(&file);
    w.u8('B');
    w.u8('M');
    w.u32(54 + imageSize);
    w.u32(0);
    w.u32(54);
    w.u32(40);
    w.u32(kWidth);
    w.u32(kHeight);
    w.u16(1);
    w.u16(24);
    w.u32(0);
    w.u32(imageSize);
    w.u32(2835);
    w.u32(2835);
    w.u32(0);
    w.u32(0);
    uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = int(noise >> 28);
            w.u8(uint8_t((x * 255 / kWidth + grain) & 0xFF));
            w.u8(uint8_t((y * 255 / kHeight + grain) & 0xFF));
            w.u8(uint8_t(((x + y) * 127 / (kWidth + kHeight) + grain) & 0xFF));
        }
        w.zeros(stride - 3 * kWidth);
    }
    return file;
}

struct Picture {
    std::string path = bench::scratchPath("celvane-bench-rgb24.bmp");
    Picture() { writeFileAtomically(path, photographBitmap()); }
    ~Picture() { std::filesystem::remove(path); }
};

const std::string& picture()
{
    static Picture p;
    return p.path;
}

void openCelvane(benchmark::State& state)
{
    const std::string& path = picture();
    for (auto _ : state) {
        CCelvaneDoc doc;
        doc.open(path);
        benchmark::DoNotOptimize(doc.film()->workingImage(0));
    }
}

void openReference(benchmark::State& state)
{
    const QString path = QString::fromStdString(picture());
    for (auto _ : state) {
        QImage image;
        if (!image.load(path, "BMP")) {
            state.SkipWithError("Qt could not read the file");
            break;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK(openCelvane)->Name("BitmapOpen/rgb24/celvane")->Unit(benchmark::kMillisecond);
BENCHMARK(openReference)->Name("BitmapOpen/rgb24/reference")->Unit(benchmark::kMillisecond);
