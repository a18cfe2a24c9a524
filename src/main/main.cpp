#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/CelvaneApp.h"
#include "app/QtMessageSink.h"
#include "base/StringTable.h"
#include "import/ImportKinds.h"
#include "platform/ProgramExit.h"

namespace {
// Qt aborts when it cannot reach a display; say so plainly first.
bool haveDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return (platform && *platform) || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

int run(int argc, char** argv)
{
    if (!haveDisplay()) {
        std::fprintf(stderr, "%s\n", celvane::loadString(celvane::IDS_NO_DISPLAY).c_str());
        return 1;
    }
    celvane::GuardedApplication qt(argc, argv);
    QApplication::setApplicationName("Celvane");
    celvane::QtMessageSink sink;
    celvane::Reporter::setSink(&sink);
    celvane::registerImportKinds();
    celvane::CelvaneApp app;
    if (!app.start(QApplication::arguments().mid(1)))
        return 0;
    return QApplication::exec();
}
} // namespace

int main(int argc, char** argv)
{
    // Windows, films and the application are gone once run() returns.
    celvane::endProgram(run(argc, argv));
}
