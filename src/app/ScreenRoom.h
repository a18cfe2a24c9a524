#pragma once
// Room on the screen for a window that the window manager frames: every window the program opens
// lies wholly on the screen, title bar included.

#include <QPoint>

class QWidget;

namespace celvane {

// The height of the title bar the window manager adds: the main window's, or the style's before
// the main window is up.
int titleBarHeight(const QWidget& window);

// How much taller `window` may grow from where it is now sized and still fit the screen's free
// area with its title bar (negative when it is too tall already).
int roomBelow(const QWidget& window);

// `topLeft` moved as little as it takes for `window`, at its size and with its title bar, to lie
// inside the free area of the screen there.
QPoint insideScreen(const QWidget& window, QPoint topLeft);

} // namespace celvane
