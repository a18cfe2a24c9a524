#include "app/sound/WaveformView.h"

#include <QMouseEvent>
#include <QPainter>

#include "sound/Sound.h"
#include "sound/Waveform.h"

namespace celvane {

namespace {
constexpr int kInset = 3;
}

void drawWaveform(QPainter& painter, const Sound& sound, const QRect& area, double repeat)
{
    const int centre = area.top() + area.height() / 2;
    for (const WaveColumn& c : waveformColumns(sound, area.left(), area.right() + 1, area.height(), repeat))
        painter.drawLine(c.x, centre + c.reach - 1, c.x, centre - c.reach);
}

WaveformView::WaveformView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(240, 64);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WaveformView::setSound(const Sound* sound)
{
    sound_ = sound;
    clearSelection();
}

void WaveformView::setRepeat(double repeat, double playedFraction)
{
    if (repeat == repeat_ && playedFraction == played_)
        return;
    repeat_ = repeat;
    played_ = playedFraction;
    update();
}

void WaveformView::clearSelection()
{
    anchor_ = end_ = 0;
    update();
}

int WaveformView::sampleAt(int x) const { return sampleAtColumn(x, width(), sound_ ? sound_->sampleCount() : 0); }

int WaveformView::columnOf(int sample) const
{
    const int samples = sound_ ? std::max(sound_->sampleCount(), 1) : 1;
    return kInset + int(double(sample) / samples * (width() - 2 * kInset));
}

void WaveformView::paintEvent(QPaintEvent*)
{
    QImage picture(size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    const int x0 = kInset, x1 = width() - kInset, y0 = kInset, y1 = height() - kInset;
    const int centre = y0 + (y1 - y0) / 2;
    if (sound_) {
        p.setPen(QColor(128, 128, 128));
        drawWaveform(p, *sound_, QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)), repeat_);
    }
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(Qt::white);
    p.drawLine(2, centre, x1, centre);
    // The time after the sound stops, and the part of a recording chosen, show inverted.
    if (played_ < 1)
        p.fillRect(QRect(QPoint(x0 + int(played_ * (x1 - x0)), 0), QPoint(width(), height())), Qt::white);
    if (selectionLast() > selectionFirst()) {
        const int left = columnOf(selectionFirst());
        p.fillRect(left, 0, std::max(1, columnOf(selectionLast()) - left), height(), Qt::white);
    }
    p.end();
    QPainter(this).drawImage(0, 0, picture);
}

void WaveformView::mousePressEvent(QMouseEvent* event)
{
    if (!selectable_ || !sound_ || event->button() != Qt::LeftButton)
        return;
    choosing_ = true;
    anchor_ = end_ = sampleAt(event->position().toPoint().x());
    update();
}

void WaveformView::mouseMoveEvent(QMouseEvent* event)
{
    if (!choosing_)
        return;
    end_ = sampleAt(event->position().toPoint().x());
    update();
}

void WaveformView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!choosing_ || event->button() != Qt::LeftButton)
        return;
    choosing_ = false;
    emit selectionMade();
}

} // namespace celvane
