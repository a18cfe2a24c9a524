#pragma once
// Button pictures drawn by the program itself: each pen shape as it draws, the pen tips by
// their shape and size, and the pin that keeps a tool panel open.

#include <QIcon>

namespace celvane::DrawnIcons {

// Shapes in the pencil's order: dots, freehand, line, connected lines, circle, ellipse, square,
// rectangle, then the four filled.
QIcon penShape(int shape);
QIcon penTip(bool round, int side);
QIcon pin();

} // namespace celvane::DrawnIcons
