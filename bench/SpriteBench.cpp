// Opening RISC OS sprite files from other programs (a screen of 256 colours, a photograph in
// the tints, a sheet of 32-bit tiles) beside Qt reading the same pictures as bitmaps, both from
// memory.

#include <benchmark/benchmark.h>

#include <QImage>
#include <string>

#include "base/ByteIO.h"
#include "import/SpriteFileReader.h"

namespace {

using namespace celvane;

Bytes corpusFile(const std::string& name) { return readFile(std::string(CELVANE_CORPUS) + "/sprite/" + name); }

void openCelvane(benchmark::State& state, const char* name)
{
    const Bytes file = corpusFile(name);
    for (auto _ : state) {
        SpriteFileContents read = readSpriteFile(file);
        benchmark::DoNotOptimize(read.sprites.front().pixels());
    }
}

void openReference(benchmark::State& state, const char* name)
{
    // The same pictures, as bitmaps.
    std::vector<Bytes> bitmaps;
    for (const Sprite& sprite : readSpriteFile(corpusFile(name)).sprites) {
        Bytes bmp;
        ByteWriter w(&bmp);
        sprite.write(&w, SpriteWriteKind::Bitmap, true);
        bitmaps.push_back(std::move(bmp));
    }
    for (auto _ : state)
        for (const Bytes& bmp : bitmaps) {
            const QImage image = QImage::fromData(bmp.data(), int(bmp.size()), "BMP");
            benchmark::DoNotOptimize(image.constBits());
        }
}

} // namespace

#define SPRITE_OPEN(label, file)                                                                   \
    BENCHMARK_CAPTURE(openCelvane, label, file)                                                    \
        ->Name("SpriteOpen/" #label "/celvane")                                                    \
        ->Unit(benchmark::kMillisecond);                                                           \
    BENCHMARK_CAPTURE(openReference, label, file)                                                  \
        ->Name("SpriteOpen/" #label "/reference")                                                  \
        ->Unit(benchmark::kMillisecond)

SPRITE_OPEN(Clown, "ro-paint-test/Clown.ff9");
SPRITE_OPEN(256Blues, "ro-paint-test/256Blues.ff9");
SPRITE_OPEN(PinSetup, "ro-misc/PinSetup-Sprites.ff9");
