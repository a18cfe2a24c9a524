#pragma once
// Where a floating window opens: a tool panel beside the toolbox, a picker beside the main
// window, never over the bars a child needs (palette, play bar, toolbox) and covering as little
// of the film as it can. Plain rectangles on the screen, window frames with their title bars.

#include <QRect>
#include <vector>

namespace celvane {

struct ScreenLayout {
    QRect screen;            // the screen's free area
    QRect main;              // the main window's frame
    QRect toolbox;           // empty when hidden
    std::vector<QRect> bars; // the palette, the play bar and the other bars
    QRect film;              // the frame as shown in the film window, empty without one
};

class WindowPlace {
public:
    explicit WindowPlace(ScreenLayout layout) : at_(std::move(layout)) {}

    // A tool panel's frame: next to the toolbox on the side away from the film where there is
    // room, else on its other side, level with the tool's `button` when it has one, else past
    // the film's or the main window's ends; where nothing is free, where it covers least.
    QPoint panel(QSize frame, const QRect& button = {}) const;
    // A picker's frame: beside the main window where there is room, else where it covers the
    // least of the film.
    QPoint picker(QSize frame) const;
    // `frame` at `topLeft` moved as little as it takes to lie on the screen.
    QPoint inside(QPoint topLeft, QSize frame) const;

private:
    // The first candidate, moved onto the screen, that covers nothing; else the one covering least.
    QPoint best(const std::vector<QPoint>& candidates, QSize frame) const;
    long long covered(const QRect& window) const;

    ScreenLayout at_;
};

} // namespace celvane
