#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <cstdio>
#include <cstdlib>

namespace {
// Qt aborts when it cannot reach a display; say so plainly first.
bool haveDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return (platform && *platform) || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}
} // namespace

int main(int argc, char** argv)
{
    if (!haveDisplay()) {
        std::fprintf(stderr, "Celvane needs a display and none is set. Run it under xvfb-run -a.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Celvane");
    QMainWindow window;
    window.setWindowTitle("Celvane");
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
