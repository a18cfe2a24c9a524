#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "BenchSupport.h"
#include "platform/ProgramExit.h"

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

std::string scratchPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + name)).string();
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
    celvane::endProgram(0);
}
