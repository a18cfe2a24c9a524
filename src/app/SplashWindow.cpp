#include "app/SplashWindow.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace celvane {

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    resize(360, 200);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QTimer::singleShot(kShowMs, this, &QWidget::close);
    qApp->installEventFilter(this);
    show();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show)
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && w->isModal())
            close();
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(40, 40, 40));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    // A strip of film frames.
    const QColor frames[] = {QColor(230, 80, 60), QColor(250, 190, 40), QColor(80, 170, 90), QColor(60, 120, 210)};
    for (int i = 0; i < 4; ++i) {
        const QRect cell(40 + i * 72, 30, 64, 48);
        p.fillRect(cell, QColor(30, 30, 30));
        p.fillRect(cell.adjusted(6, 6, -6, -6), frames[i]);
    }
    QFont title("Arial", 10, QFont::Bold);
    title.setPointSize(22);
    p.setFont(title);
    p.drawText(QRect(0, 92, width(), 40), Qt::AlignCenter, "Celvane");
    p.setFont(QFont("Arial", 9));
    p.drawText(QRect(0, 134, width(), 24), Qt::AlignCenter, "Make films frame by frame");
    p.setFont(QFont("Arial", 10));
    p.drawText(QRect(0, 160, width(), 24), Qt::AlignCenter, "Starting...");
}

} // namespace celvane
