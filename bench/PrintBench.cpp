// Printing to PDF: PrintPdf/contact100 lays out a 100-frame 640 x 480 8-bit film of drawings as a
// contact sheet at 12 frames a page and writes the PDF into memory. Goals: under 2 s, and the
// file (counter "bytes") under 5 MB, each frame embedded once, losslessly.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QPdfWriter>
#include <cstring>
#include <memory>

#include "film/FileType.h"
#include "film/Film.h"
#include "film/ImageInfo.h"
#include "print/PagePrinter.h"

namespace {

using namespace celvane;

constexpr int kWidth = 640, kHeight = 480, kFrames = 100;

// A ball crossing a ground line: a few colours over large areas, as children draw.
std::unique_ptr<Film> drawnFilm()
{
    auto film = std::make_unique<Film>();
    const ImageInfo info = ImageInfo::forFilm(kWidth, kHeight, 8);
    film->load(0, &info, nullptr, FileType::Film);
    for (int f = 0; f < kFrames; ++f) {
        film->insertFrameDrawnBy(f, false, [f](Sprite& s) {
            for (int y = 400; y < kHeight; ++y)
                std::memset(s.rowAddress(y), 2, kWidth);
            const int cx = 40 + f * 5, cy = 200;
            for (int y = cy - 30; y < cy + 30; ++y)
                for (int x = cx - 30; x < cx + 30; ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < 900 && x >= 0 && x < kWidth)
                        s.rowAddress(y)[x] = uint8_t(4 + f % 3);
        });
    }
    return film;
}

void PrintPdf_contact100(benchmark::State& state)
{
    const auto film = drawnFilm();
    size_t bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
            PrintLayout layout = PagePrinter::layoutFor(*film, pdf.pageLayout());
            layout.layOut(12);
            PagePrinter(*film, layout).print(pdf, 1, layout.pageCount(), {});
        }
        bytes = size_t(buffer.size());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(PrintPdf_contact100)->Name("PrintPdf/contact100")->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
