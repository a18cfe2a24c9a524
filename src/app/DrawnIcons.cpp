#include "app/DrawnIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace celvane::DrawnIcons {

namespace {
constexpr int kSide = 24;

// A transparent square to draw on, with the pen in the text colour of buttons.
template <typename Draw>
QIcon drawn(Draw draw)
{
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        draw(p);
    }
    return QIcon(picture);
}
} // namespace

QIcon penShape(int shape)
{
    return drawn([shape](QPainter& p) {
        const bool filled = shape >= 8;
        if (filled)
            p.setBrush(Qt::black);
        switch (filled ? shape - 4 : shape) {
        case 0: // dots, as a quick stroke leaves them
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            for (const QPointF c : {QPointF(5, 17), QPointF(9, 12), QPointF(14, 9), QPointF(19, 7)})
                p.drawEllipse(c, 1.8, 1.8);
            break;
        case 1: { // freehand
            QPainterPath path(QPointF(3, 16));
            path.cubicTo(8, 2, 12, 24, 21, 7);
            p.drawPath(path);
            break;
        }
        case 2: p.drawLine(QPointF(4, 19), QPointF(20, 5)); break;
        case 3: p.drawPolyline(QPolygonF({QPointF(3, 19), QPointF(8, 6), QPointF(15, 16), QPointF(21, 5)})); break;
        case 4: p.drawEllipse(QPointF(12, 12), 8, 8); break;
        case 5: p.drawEllipse(QPointF(12, 12), 10, 6); break;
        case 6: p.drawRect(QRectF(4, 4, 16, 16)); break;
        case 7: p.drawRect(QRectF(2, 7, 20, 11)); break;
        }
    });
}

QIcon penTip(bool round, int side)
{
    // Sides 1 to 16 shown from a dot to nearly the whole button.
    const double shown = std::clamp(2.0 + side, 3.0, 20.0);
    return drawn([round, shown](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const QRectF tip(12 - shown / 2, 12 - shown / 2, shown, shown);
        if (round)
            p.drawEllipse(tip);
        else
            p.drawRect(tip);
    });
}

QIcon pin()
{
    return drawn([](QPainter& p) {
        // A drawing pin seen from the side: round head, collar, point.
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(QRectF(6, 2, 12, 7));
        p.drawRect(QRectF(9, 9, 6, 5));
        p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 14), QPointF(12, 22));
    });
}

} // namespace celvane::DrawnIcons
