// Playing the largest metafiles of other programs onto a full HD picture, as a metafile stamp
// following the pointer needs: each well under 50 ms. The three largest enhanced metafiles that
// are whole (the largest of all holds only records for another player, and draws nothing), and
// the largest Windows metafile.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <string>

#include "BenchSupport.h"
#include "base/ByteIO.h"
#include "import/MetafileData.h"
#include "import/MetafilePlayer.h"

namespace {

using namespace celvane;

void play(benchmark::State& state, const char* name)
{
    bench::application();
    const MetafileData metafile = readMetafile(readFile(std::string(CELVANE_CORPUS) + "/" + name));
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        playMetafile(metafile, painter, QRectF(0, 0, 1920, 1080));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK_CAPTURE(play, p_ref, "emf/libuemf/test_libuemf_p_ref.emf")
    ->Name("MetafilePlay/test_libuemf_p_ref.emf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(play, ref, "emf/libuemf/test_libuemf_ref.emf")
    ->Name("MetafilePlay/test_libuemf_ref.emf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(play, mac, "emf/poi/SimpleEMF_mac.emf")
    ->Name("MetafilePlay/SimpleEMF_mac.emf")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(play, wmf, "wmf/libuemf/test_libuemf_ref.wmf")
    ->Name("MetafilePlay/test_libuemf_ref.wmf")
    ->Unit(benchmark::kMillisecond);
