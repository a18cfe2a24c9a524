#pragma once
// Showing a film on the whole screen: where the frame goes in each of the three sizes, the
// program's full-screen choices, and the window itself, which answers keys and clicks by
// asking its film window's playback.

#include <QWidget>

#include "gfx/Rect.h"
#include "view/FramePainter.h"

namespace celvane {

class PlaybackController;

namespace FullScreen {
enum Size : int { ActualSize = 0, LargeSize = 1, FullSize = 2 };
// Kept while the program runs.
struct Options {
    int size = ActualSize;
    bool stepWithMouse = false;
};
Options& options();
// The frame's rectangle on a screen: at its own size or scaled to fit, centred, or stretched.
Rect placement(int size, int frameWidth, int frameHeight, int screenWidth, int screenHeight);
} // namespace FullScreen

class CFullScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit CFullScreenWindow(PlaybackController& playback);
    // Where the frame shows.
    Rect frameRect() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    PlaybackController& playback_;
    FramePainter painter_;
};

} // namespace celvane
