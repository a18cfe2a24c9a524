#pragma once
// Window managers cut a title that does not fit beside their own buttons, and small windows
// are made just wide enough for their contents.

class QWidget;

namespace celvane {

// The least width that shows the window's title whole.
int widthForTitle(const QWidget& window);
// Makes the window at least that wide.
void makeRoomForTitle(QWidget& window);

} // namespace celvane
