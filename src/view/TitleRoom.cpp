#include "view/TitleRoom.h"

#include <QWidget>

namespace celvane {

namespace {
// The window manager's buttons, icon and margins beside the title.
constexpr int kDecorationRoom = 240;
} // namespace

int widthForTitle(const QWidget& window)
{
    return window.fontMetrics().horizontalAdvance(window.windowTitle()) + kDecorationRoom;
}

void makeRoomForTitle(QWidget& window) { window.setMinimumWidth(std::max(window.minimumWidth(), widthForTitle(window))); }

} // namespace celvane
