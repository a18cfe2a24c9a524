#include "playback/CFullScreenWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <algorithm>

#include "film/Film.h"
#include "playback/PlaybackController.h"
#include "view/CCelvaneView.h"
#include "view/FadeStep.h"

namespace celvane {

namespace FullScreen {

Options& options()
{
    static Options o;
    return o;
}

Rect placement(int size, int frameWidth, int frameHeight, int screenWidth, int screenHeight)
{
    if (size == FullSize || frameWidth <= 0 || frameHeight <= 0)
        return {0, 0, screenWidth, screenHeight};
    int w = frameWidth, h = frameHeight;
    if (size == LargeSize) {
        const double scale = std::min(double(screenWidth) / frameWidth, double(screenHeight) / frameHeight);
        w = int(frameWidth * scale);
        h = int(frameHeight * scale);
    }
    const int left = (screenWidth - w) / 2, top = (screenHeight - h) / 2;
    return {left, top, left + w, top + h};
}

} // namespace FullScreen

CFullScreenWindow::CFullScreenWindow(PlaybackController& playback)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), playback_(playback)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
    setFocusPolicy(Qt::StrongFocus);
}

Rect CFullScreenWindow::frameRect() const
{
    const Film* film = playback_.view().film();
    return FullScreen::placement(FullScreen::options().size, film ? film->width() : 0, film ? film->height() : 0,
                                 width(), height());
}

void CFullScreenWindow::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    CCelvaneView& view = playback_.view();
    Film* film = view.film();
    if (!film)
        return;
    const Rect frame = frameRect();
    const QRect area = event->rect();
    const Rect clip{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    try {
        const Sprite& image = *film->workingImage(view.currentFrame());
        if (const auto step = playback_.fadeStepOn(frame)) {
            paintFadeStep(painter_, p, image, frame, *step, clip);
            return;
        }
        const uint32_t paper = film->paper();
        QRegion outside(area);
        outside -= QRect(frame.left, frame.top, frame.width(), frame.height());
        for (const QRect& r : outside)
            p.fillRect(r, QColor(int((paper >> 8) & 0xFF), int((paper >> 16) & 0xFF), int(paper >> 24)));
        painter_.paint(p, image, frame, clip);
    } catch (const std::exception&) {
        // A frame that cannot be decoded leaves the screen as it was; the window reports it.
    }
}

bool CFullScreenWindow::event(QEvent* event)
{
    // Its keys are its own, whatever commands share them.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Space) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CFullScreenWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: playback_.toggleFullScreen(); break;
    case Qt::Key_Space: playback_.playback().stop(); break;
    default: QWidget::keyPressEvent(event);
    }
}

void CFullScreenWindow::mousePressEvent(QMouseEvent* event)
{
    const bool step = FullScreen::options().stepWithMouse;
    if (event->button() == Qt::LeftButton) {
        if (step)
            playback_.playback().start(-1);
        else
            playback_.toggleFullScreen();
    } else if (event->button() == Qt::RightButton && step) {
        playback_.playback().start(1);
    }
}

} // namespace celvane
