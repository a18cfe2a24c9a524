#include "app/ScreenRoom.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QWidget>
#include <algorithm>
#include <climits>

#include "app/CTools.h"
#include "base/Settings.h"

namespace celvane {

namespace {
const QWidget* mainWindowOf(const QWidget& window)
{
    const QWidget* main = window.parentWidget();
    return main ? main->window() : nullptr;
}

// The height of the title bar the window manager adds: the main window's, or the style's before
// the main window is up.
int titleBarHeight(const QWidget& window)
{
    const QWidget* main = mainWindowOf(window);
    const int mains = main && main->isVisible() ? main->frameGeometry().height() - main->height() : 0;
    return std::max(mains, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

QRect onScreen(const QWidget& widget) { return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size()); }

// The window manager's side borders of a window, measured on the main window once it is up.
int sideBorders(const QWidget& window)
{
    const QWidget* main = mainWindowOf(window);
    return main && main->isVisible() ? main->frameGeometry().width() - main->width() : 0;
}

// The window's frame: its client area with the borders beside it and the title bar above it.
QSize frameSize(const QWidget& window) { return window.size() + QSize(sideBorders(window), titleBarHeight(window)); }
} // namespace

int roomBelow(const QWidget& window)
{
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry().height() - titleBarHeight(window) - window.height() : 0;
}

ScreenLayout screenLayout(const QWidget& window)
{
    ScreenLayout layout;
    if (const QScreen* screen = window.screen())
        layout.screen = screen->availableGeometry();
    const QWidget* main = mainWindowOf(window);
    if (!main || !main->isVisible())
        return layout;
    layout.main = main->frameGeometry();
    for (const QToolBar* bar : main->findChildren<QToolBar*>()) {
        if (!bar->isVisible())
            continue;
        // The toolbox counts wherever it floats; the other bars while docked.
        if (const auto* tools = qobject_cast<const CTools*>(bar)) {
            layout.toolbox = onScreen(*tools);
            layout.film = tools->filmShown();
        } else if (bar->window() == main) {
            layout.bars.push_back(onScreen(*bar));
        }
    }
    return layout;
}

QPoint placed(const QWidget& window, const std::function<QPoint(const WindowPlace&, QSize)>& place)
{
    return place(WindowPlace(screenLayout(window)), frameSize(window));
}

WindowPlacing::WindowPlacing(QWidget& window) : QObject(&window), window_(window)
{
    window.installEventFilter(this);
    remember_.setSingleShot(true);
    remember_.setInterval(500);
    connect(&remember_, &QTimer::timeout, this, [this] {
        Settings& s = Settings::instance();
        const QPoint at = window_.pos();
        s.writeInt("Windows", key() + "Left", at.x());
        s.writeInt("Windows", key() + "Top", at.y());
    });
}

namespace {
constexpr int kSettling = 500; // ms
} // namespace

std::string WindowPlacing::key() const { return window_.windowTitle().remove(' ').toStdString(); }

void WindowPlacing::show(QPoint topLeft)
{
    const Settings& s = Settings::instance();
    const int x = s.getInt("Windows", key() + "Left", INT_MIN, INT_MIN, INT_MAX);
    const int y = s.getInt("Windows", key() + "Top", INT_MIN, INT_MIN, INT_MAX);
    const QPoint wanted = x == INT_MIN || y == INT_MIN ? topLeft : QPoint(x, y);
    // The screen the place is on: the user may have put the window on another one.
    ScreenLayout free;
    const QScreen* screen = QGuiApplication::screenAt(wanted);
    if (screen || (screen = window_.screen()))
        free.screen = screen->availableGeometry();
    const QPoint at = WindowPlace(free).inside(wanted, frameSize(window_));
    placing_ = true;
    // Until the window manager has framed the window once, a move places its client area.
    const bool framed = window_.frameGeometry() != window_.geometry();
    window_.move(framed ? at : at + QPoint(sideBorders(window_) / 2, titleBarHeight(window_)));
    window_.show();
    // A window manager may place a window it maps where it likes, and tells of its frame later
    // still; the window goes back once its frame is known, and those moves are not the user's.
    QTimer::singleShot(kSettling, this, [this, at] {
        if (window_.pos() != at)
            window_.move(at);
        QTimer::singleShot(kSettling, this, [this] { placing_ = false; });
    });
}

bool WindowPlacing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::Move && event->spontaneous() && !placing_ &&
        window_.isVisible()) {
        remember_.start();
        if (movedByUser)
            movedByUser();
    }
    return false;
}

} // namespace celvane
