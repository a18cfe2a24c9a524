#pragma once
// The Record An Effect dialog: choose a sound input and a quality, record for a number of seconds
// (Escape stops early), choose part of the recording in its waveform, hear it, and keep it. The
// window goes on painting while it records.

#include <QDialog>
#include <memory>

#include "platform/SoundRecorder.h"
#include "sound/Sound.h"
#include "sound/SoundLibrary.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace celvane {

class WaveformView;

class CRecordDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRecordDialog(QWidget* parent = nullptr);
    ~CRecordDialog() override;

    // Ends at once, cancelled, when the machine has nothing to record from.
    int exec() override;

    // The sound recorded, as it is now (null before any recording).
    const Sound* recorded() const { return sound_.get(); }
    QString name() const;
    // After Keep: the sound joins the pool and `library` under the dialog's name; the pooled one.
    Sound* keep(SoundLibrary& library);

    // Starts a recording as the Record button does; false when it could not start.
    bool record();
    bool recording() const { return recorder_.recording(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void chooseSource(int index);
    void recordingEnded();
    // The sound becomes the part of the recording chosen in the waveform, or all of it.
    void trim();
    void hear();

    SoundRecorder recorder_;
    std::unique_ptr<Sound> sound_;
    // The whole recording, as the waveform shows it; the sound may be part of it.
    std::unique_ptr<Sound> whole_;
    QLineEdit* name_ = nullptr;
    QComboBox* sources_ = nullptr;
    QComboBox* quality_ = nullptr;
    QDoubleSpinBox* seconds_ = nullptr;
    QPushButton* record_ = nullptr;
    QPushButton* hear_ = nullptr;
    QPushButton* keep_ = nullptr;
    QLabel* state_ = nullptr;
    WaveformView* waveform_ = nullptr;
};

} // namespace celvane
