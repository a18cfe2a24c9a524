#pragma once
// A sound drawn as its waveform: repeated as often as it plays, the part past the time it plays
// shown inverted, and, for a recording, a part chosen with the mouse shown inverted too.

#include <QWidget>

namespace celvane {

class Sound;

// Draws a sound's waveform into `area` of a painter, in the painter's pen, about its centre line.
void drawWaveform(QPainter& painter, const Sound& sound, const QRect& area, double repeat);

class WaveformView : public QWidget {
    Q_OBJECT
public:
    explicit WaveformView(QWidget* parent = nullptr);

    // The sound shown (not owned), or null; clears the selection.
    void setSound(const Sound* sound);
    // How many times the sound plays across the width, and the fraction of the width it plays for.
    void setRepeat(double repeat, double playedFraction = 1.0);
    // Whether the mouse chooses part of the sound.
    void setSelectable(bool on) { selectable_ = on; }
    // The chosen samples [first, last), or first == last for none.
    int selectionFirst() const { return std::min(anchor_, end_); }
    int selectionLast() const { return std::max(anchor_, end_); }
    void clearSelection();

signals:
    // The button was let go over a new choice (or none).
    void selectionMade();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int sampleAt(int x) const;
    int columnOf(int sample) const;

    const Sound* sound_ = nullptr;
    double repeat_ = 1, played_ = 1;
    bool selectable_ = false, choosing_ = false;
    int anchor_ = 0, end_ = 0;
};

} // namespace celvane
