#pragma once
// Room on the screen for a window that the window manager frames: every window the program opens
// lies wholly on the screen, title bar included.

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <string>

#include "app/WindowPlace.h"

class QWidget;

namespace celvane {

// How much taller `window` may grow from where it is now sized and still fit the screen's free
// area with its title bar (negative when it is too tall already).
int roomBelow(const QWidget& window);

// The screen around `window` as its main window has it: the main window, its toolbox, its other
// bars and the film being drawn.
ScreenLayout screenLayout(const QWidget& window);

// The top left of `window`'s frame, title bar included, that `place` gives.
QPoint placed(const QWidget& window, const std::function<QPoint(const WindowPlace&, QSize)>& place);

// Puts a floating window where it belongs when it is shown, and keeps the place the user moves
// it to ("Windows", the title without spaces followed by "Left" and "Top").
class WindowPlacing : public QObject {
public:
    explicit WindowPlacing(QWidget& window);

    // Shows the window where the user last put it, else with its frame's top left at `topLeft`;
    // wholly on the screen either way.
    void show(QPoint topLeft);
    // The user has moved the window (the window system's own placing is not counted).
    std::function<void()> movedByUser;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string key() const;

    QWidget& window_;
    QTimer remember_; // written once a move has come to rest
    bool placing_ = false;
};

} // namespace celvane
