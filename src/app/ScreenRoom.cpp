#include "app/ScreenRoom.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace celvane {

namespace {
const QWidget* mainWindowOf(const QWidget& window)
{
    const QWidget* main = window.parentWidget();
    return main ? main->window() : nullptr;
}
} // namespace

int titleBarHeight(const QWidget& window)
{
    const QWidget* main = mainWindowOf(window);
    const int mains = main && main->isVisible() ? main->frameGeometry().height() - main->height() : 0;
    return std::max(mains, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

int roomBelow(const QWidget& window)
{
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry().height() - titleBarHeight(window) - window.height() : 0;
}

QPoint insideScreen(const QWidget& window, QPoint topLeft)
{
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (!screen)
        screen = window.screen();
    if (!screen)
        return topLeft;
    const QRect free = screen->availableGeometry();
    const int title = titleBarHeight(window);
    // The client area's top left; the title bar sits above it.
    return {std::clamp(topLeft.x(), free.left(), std::max(free.left(), free.right() + 1 - window.width())),
            std::clamp(topLeft.y(), free.top() + title, std::max(free.top() + title, free.bottom() + 1 - window.height()))};
}

} // namespace celvane
