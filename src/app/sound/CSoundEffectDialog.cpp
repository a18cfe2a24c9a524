#include "app/sound/CSoundEffectDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/sound/WaveformView.h"
#include "sound/SoundPlayer.h"

namespace celvane {

using Mode = SoundEffectEdit::Mode;

CSoundEffectDialog::CSoundEffectDialog(const Sound& sound, const QString& name, const FrameSound& settings,
                                       int period, QWidget* parent)
    : QDialog(parent), sound_(sound), edit_(settings, sound.rate(), sound.sampleCount(), period)
{
    setWindowTitle("Sound Effect");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(name);
    title->setObjectName("name");
    layout->addWidget(title);
    waveform_ = new WaveformView;
    waveform_->setSound(&sound);
    layout->addWidget(waveform_);
    duration_ = new QLabel;
    duration_->setObjectName("duration");
    layout->addWidget(duration_);
    layout->addWidget(buildDuration());
    layout->addWidget(buildLevels());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* play = buttons->addButton("Play sound", QDialogButtonBox::ActionRole);
    QPushButton* defaults = buttons->addButton("Defaults", QDialogButtonBox::ResetRole);
    connect(play, &QPushButton::clicked, this, &CSoundEffectDialog::playSound);
    connect(defaults, &QPushButton::clicked, this, &CSoundEffectDialog::restoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    showEdit();
}

QWidget* CSoundEffectDialog::buildDuration()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    once_ = new QRadioButton("Once");
    connect(once_, &QRadioButton::clicked, this, [this] {
        edit_.playOnce();
        showEdit();
    });
    grid->addWidget(once_, 0, 0);
    frames_ = new QRadioButton("For (frames):");
    seconds_ = new QRadioButton("For (seconds):");
    framesEdit_ = addTimeEdit(grid, 1, frames_, 1, 1, 100, "%.0f", Mode::Frames);
    secondsEdit_ = addTimeEdit(grid, 2, seconds_, 0.05, 0.05, 20.0, "%.2f", Mode::Seconds);
    return box;
}

QLineEdit* CSoundEffectDialog::addTimeEdit(QGridLayout* grid, int row, QRadioButton* radio, double step, double low,
                                           double high, const char* format, Mode mode)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(mode == Mode::Frames ? "frames" : "seconds");
    edit->setAccessibleName(radio->text()); // read out as the button beside it
    grid->addWidget(radio, row, 0);
    grid->addWidget(edit, row, 1);
    connect(radio, &QRadioButton::clicked, this, [this, mode] {
        edit_.choose(mode);
        showEdit();
    });
    connect(edit, &QLineEdit::textEdited, this, [this, mode](const QString& text) { typed(mode, text); });
    // The arrows step through the usual range; typing reaches further.
    for (const int direction : {1, -1}) {
        auto* arrow = new QToolButton;
        arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAccessibleName(direction > 0 ? "Longer" : "Shorter");
        grid->addWidget(arrow, row, direction > 0 ? 2 : 3);
        connect(arrow, &QToolButton::clicked, this, [=, this] {
            const double now = edit->text().toDouble();
            const double next = std::clamp(std::round(now / step) * step + direction * step, low, high);
            const QString text = QString::asprintf(format, next);
            edit->setText(text);
            typed(mode, text);
        });
    }
    return edit;
}

QWidget* CSoundEffectDialog::buildLevels()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    volume_ = addLevel(grid, 0, "Volume", "Quiet", "Loud", 0, 127, &SoundEffectEdit::setVolume);
    pitch_ = addLevel(grid, 1, "Pitch", "-36", "36", -36, 36, &SoundEffectEdit::setPitch);
    pitch_.slider->setTickInterval(12);
    pitch_.slider->setTickPosition(QSlider::TicksBelow);
    pan_ = addLevel(grid, 2, "Stereo", "L", "R", -127, 127, &SoundEffectEdit::setPan);
    return box;
}

CSoundEffectDialog::Level CSoundEffectDialog::addLevel(QGridLayout* grid, int row, const QString& name,
                                                       const QString& low, const QString& high, int min, int max,
                                                       void (SoundEffectEdit::*set)(int))
{
    Level level{new QSlider(Qt::Horizontal), new QSpinBox};
    auto* label = new QLabel(name);
    label->setBuddy(level.spin);
    grid->addWidget(label, row, 0);
    level.slider->setAccessibleName(name);
    level.spin->setObjectName(name.toLower());
    level.slider->setRange(min, max);
    level.spin->setRange(min, max);
    grid->addWidget(new QLabel(low), row, 1);
    grid->addWidget(level.slider, row, 2);
    grid->addWidget(new QLabel(high), row, 3);
    grid->addWidget(level.spin, row, 4);
    connect(level.slider, &QSlider::valueChanged, level.spin, &QSpinBox::setValue);
    connect(level.spin, &QSpinBox::valueChanged, level.slider, &QSlider::setValue);
    connect(level.spin, &QSpinBox::valueChanged, this, [this, set](int value) {
        if (showing_)
            return;
        (edit_.*set)(value);
        showEdit();
    });
    return level;
}

void CSoundEffectDialog::typed(Mode mode, const QString& text)
{
    const auto result =
        mode == Mode::Frames ? edit_.typeFrames(text.toStdString()) : edit_.typeSeconds(text.toStdString());
    if (result == SoundEffectEdit::Typed::Ignored)
        return;
    // The edit being typed into keeps the text as typed, unless it was capped.
    QLineEdit* other = mode == Mode::Frames ? secondsEdit_ : framesEdit_;
    QLineEdit* own = mode == Mode::Frames ? framesEdit_ : secondsEdit_;
    if (result == SoundEffectEdit::Typed::Capped)
        own->setText(QString::fromStdString(mode == Mode::Frames ? edit_.framesText() : edit_.secondsText()));
    other->setText(QString::fromStdString(mode == Mode::Frames ? edit_.secondsText() : edit_.framesText()));
    (mode == Mode::Frames ? frames_ : seconds_)->setChecked(true);
    waveform_->setRepeat(edit_.repeat(), edit_.playedFraction());
}

void CSoundEffectDialog::showEdit()
{
    showing_ = true;
    once_->setChecked(edit_.mode() == Mode::Once);
    frames_->setChecked(edit_.mode() == Mode::Frames);
    seconds_->setChecked(edit_.mode() == Mode::Seconds);
    framesEdit_->setText(QString::fromStdString(edit_.framesText()));
    secondsEdit_->setText(QString::fromStdString(edit_.secondsText()));
    duration_->setText("Duration: " + QString::fromStdString(edit_.durationText()));
    volume_.spin->setValue(edit_.settings().volume);
    pitch_.spin->setValue(edit_.settings().pitch);
    pan_.spin->setValue(edit_.settings().pan);
    waveform_->setRepeat(edit_.repeat(), edit_.playedFraction());
    showing_ = false;
}

void CSoundEffectDialog::playSound()
{
    if (SoundPlayer* player = SoundPlayer::current()) {
        const FrameSound& s = edit_.settings();
        player->play(sound_, s.pan, s.volume, s.pitch, s.duration);
    }
}

void CSoundEffectDialog::restoreDefaults()
{
    edit_.defaults();
    showEdit();
}

} // namespace celvane
