#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "BenchSupport.h"

namespace celvane::bench {

namespace {
std::unique_ptr<QApplication> app;
}

QApplication& application()
{
    static int argc = 1;
    static char name[] = "celvane-bench";
    static char* argv[] = {name, nullptr};
    if (!app) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    return *app;
}

} // namespace celvane::bench

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    celvane::bench::app.reset();
    return 0;
}
