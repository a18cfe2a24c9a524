#pragma once
// The Sound Effect dialog: how a frame's sound plays. The whole sound once, or for a number of
// frames or seconds (looping to fill the time, or cut short), its volume, pitch and place between
// the speakers. The waveform shows the sound repeated for the time it plays.

#include <QDialog>

#include "film/SoundEffectEdit.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace celvane {

class Sound;
class WaveformView;

class CSoundEffectDialog : public QDialog {
    Q_OBJECT
public:
    // `period` is the film's frame period in milliseconds.
    CSoundEffectDialog(const Sound& sound, const QString& name, const FrameSound& settings, int period,
                       QWidget* parent = nullptr);

    // The settings as edited; what OK writes back.
    const FrameSound& settings() const { return edit_.settings(); }
    const SoundEffectEdit& edit() const { return edit_; }

private:
    struct Level {
        QSlider* slider;
        QSpinBox* spin;
    };
    QWidget* buildDuration();
    QWidget* buildLevels();
    // A slider with its number beside it, each moving the other, both read out by the name shown.
    Level addLevel(QGridLayout* grid, int row, const QString& name, const QString& low, const QString& high, int min, int max,
                   void (SoundEffectEdit::*set)(int));
    QLineEdit* addTimeEdit(QGridLayout* grid, int row, QRadioButton* radio, double step, double low,
                           double high, const char* format, SoundEffectEdit::Mode mode);
    void typed(SoundEffectEdit::Mode mode, const QString& text);
    // Edits, radios, "Duration:" and the waveform show what the edit now holds.
    void showEdit();
    void playSound();
    void restoreDefaults();

    const Sound& sound_;
    SoundEffectEdit edit_;
    WaveformView* waveform_ = nullptr;
    QLabel* duration_ = nullptr;
    QRadioButton* once_ = nullptr;
    QRadioButton* frames_ = nullptr;
    QRadioButton* seconds_ = nullptr;
    QLineEdit* framesEdit_ = nullptr;
    QLineEdit* secondsEdit_ = nullptr;
    Level volume_{}, pitch_{}, pan_{};
    bool showing_ = false;
};

} // namespace celvane
