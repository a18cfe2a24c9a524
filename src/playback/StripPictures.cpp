#include "playback/StripPictures.h"

#include <QPainter>
#include <QPalette>
#include <tuple>

namespace celvane::StripPictures {

namespace {
// Sprocket holes: one every this many pixels along each edge, this big.
constexpr int kHolePitch = 10;
constexpr int kHoleWidth = 5;
constexpr int kHoleHeight = 2;
constexpr int kHoleInset = 1;
} // namespace

void paintFilm(QPainter& p, const QRect& area, int offset, const QPalette& colours)
{
    p.fillRect(area, colours.color(QPalette::Dark));
    const QColor hole = colours.color(QPalette::Light);
    int first = offset % kHolePitch;
    if (first > 0)
        first -= kHolePitch;
    for (int x = area.left() + first; x < area.right(); x += kHolePitch) {
        p.fillRect(QRect(x, area.top() + kHoleInset, kHoleWidth, kHoleHeight), hole);
        p.fillRect(QRect(x, area.bottom() - kHoleInset - kHoleHeight + 1, kHoleWidth, kHoleHeight), hole);
    }
}

void paintFrameWindow(QPainter& p, const QRect& cell)
{
    p.fillRect(cell, Qt::black);
    // A thin edge where light comes through the frame's border.
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cell.adjusted(0, 0, -1, -1));
}

void paintGate(QPainter& p, const QRect& gate, bool playing, const QPalette& colours)
{
    p.setBrush(Qt::NoBrush);
    if (!playing) {
        // Still: a gate in the highlight colour, open at the sides like a viewfinder.
        const QColor colour = colours.color(QPalette::Highlight);
        p.setPen(QPen(colour, 2));
        const int corner = gate.width() / 3;
        const QRect r = gate.adjusted(1, 1, -1, -1);
        for (const auto& [from, along, down] : {std::tuple{r.topLeft(), 1, 1}, std::tuple{r.topRight(), -1, 1},
                                                  std::tuple{r.bottomLeft(), 1, -1}, std::tuple{r.bottomRight(), -1, -1}}) {
            p.drawLine(from, from + QPoint(along * corner, 0));
            p.drawLine(from, from + QPoint(0, down * corner));
        }
        return;
    }
    // Playing: a closed red gate with a bright lamp at the top, as in a projector.
    p.setPen(QPen(QColor(220, 0, 0), 2));
    p.drawRect(gate.adjusted(1, 1, -1, -1));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(QPoint(gate.center().x(), gate.top() + 1), 2, 2);
}

} // namespace celvane::StripPictures
