#include "app/sound/CRecordDialog.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/sound/WaveformView.h"
#include "base/Reporter.h"
#include "sound/SoundPlayer.h"
#include "sound/SoundPool.h"

namespace celvane {

namespace {
// Every dialog made names its sound afresh: Sound1, Sound2, ...
int g_made = 0;
constexpr int kLongestName = 20;
} // namespace

CRecordDialog::CRecordDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Record An Effect");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name_ = new QLineEdit(QString("Sound%1").arg(++g_made));
    name_->setMaxLength(kLongestName);
    form->addRow("Name:", name_);
    sources_ = new QComboBox;
    quality_ = new QComboBox;
    form->addRow("Source", sources_);
    form->addRow("Quality", quality_);
    seconds_ = new QDoubleSpinBox;
    seconds_->setRange(0.1, 30);
    seconds_->setSingleStep(0.1);
    seconds_->setDecimals(1);
    seconds_->setValue(2);
    form->addRow("Record for (in seconds):", seconds_);
    layout->addLayout(form);
    state_ = new QLabel;
    layout->addWidget(state_);

    auto* buttons = new QHBoxLayout;
    record_ = new QPushButton("Record");
    hear_ = new QPushButton("Hear sound");
    keep_ = new QPushButton("Keep");
    auto* cancel = new QPushButton("Cancel");
    for (QPushButton* b : {record_, hear_, keep_, cancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    hear_->setEnabled(false);
    keep_->setEnabled(false);
    record_->setDefault(true);
    connect(record_, &QPushButton::clicked, this, &CRecordDialog::record);
    connect(hear_, &QPushButton::clicked, this, &CRecordDialog::hear);
    connect(keep_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CRecordDialog::reject);
    connect(&recorder_, &SoundRecorder::finished, this, &CRecordDialog::recordingEnded);

    for (const std::string& device : SoundRecorder::deviceNames())
        sources_->addItem(QString::fromStdString(device));
    connect(sources_, &QComboBox::currentIndexChanged, this, &CRecordDialog::chooseSource);
    chooseSource(sources_->currentIndex());
}

CRecordDialog::~CRecordDialog() = default;

int CRecordDialog::exec()
{
    if (sources_->count() == 0) {
        Reporter::message("No suitable sound-recording device is installed.");
        return Rejected;
    }
    return QDialog::exec();
}

QString CRecordDialog::name() const { return name_->text(); }

Sound* CRecordDialog::keep(SoundLibrary& library)
{
    Sound* pooled = SoundPool::shared().add(std::move(sound_));
    library.hold(pooled, name().toStdString());
    return pooled;
}

void CRecordDialog::chooseSource(int index)
{
    quality_->clear();
    const uint32_t bits = SoundRecorder::formatBits(index);
    for (int b = 0; b < RecordingFormat::kBits; ++b)
        if (bits & (1u << b))
            quality_->addItem(QString::fromStdString(describeRecordingFormat(1u << b)), 1u << b);
}

bool CRecordDialog::record()
{
    if (SoundPlayer* player = SoundPlayer::current()) {
        player->poll();
        player->stop(true);
        player->poll();
    }
    if (sources_->currentIndex() < 0 || quality_->currentIndex() < 0)
        return false;
    const uint32_t bit = quality_->currentData().toUInt();
    const double seconds = seconds_->value();
    if (!(seconds > 0)) {
        Reporter::message("Please enter a suitable time to record for.", MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    std::string error;
    if (!recorder_.start(sources_->currentIndex(), bit, RecordingFormat::ofBit(bit).bufferBytes(seconds), error)) {
        Reporter::message(error, MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    for (QPushButton* b : {record_, hear_, keep_})
        b->setEnabled(false);
    state_->setText("Recording... press Escape to stop.");
    return true;
}

void CRecordDialog::recordingEnded()
{
    record_->setEnabled(true);
    state_->clear();
    const RecordingFormat& f = recorder_.format();
    const Bytes& data = recorder_.recorded();
    const bool first = sound_ == nullptr;
    if (first) {
        sound_ = Sound::create(f.code);
        whole_ = Sound::create(f.code);
    }
    const int frames = int(data.size() / size_t(f.blockAlign));
    sound_->setData(f.code, f.rate, data, frames);
    whole_->setData(f.code, f.rate, data, frames);
    if (first) {
        sound_->checkPlayability();
        waveform_ = new WaveformView;
        waveform_->setSelectable(true);
        connect(waveform_, &WaveformView::selectionMade, this, &CRecordDialog::trim);
        layout()->addWidget(waveform_);
    }
    waveform_->setSound(whole_.get());
    hear_->setEnabled(true);
    keep_->setEnabled(true);
}

void CRecordDialog::trim()
{
    const Bytes& data = recorder_.recorded();
    const size_t align = size_t(recorder_.format().blockAlign);
    const int first = waveform_->selectionFirst(), last = waveform_->selectionLast();
    if (first == last)
        sound_->replaceData(data, int(data.size() / align));
    else
        sound_->replaceData(ByteSpan(data.data() + size_t(first) * align, size_t(last - first) * align), last - first);
}

void CRecordDialog::hear()
{
    if (SoundPlayer* player = SoundPlayer::current(); player && sound_)
        player->playWhole(*sound_);
}

void CRecordDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && recorder_.recording()) {
        recorder_.stop();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CRecordDialog::reject()
{
    recorder_.stop();
    QDialog::reject();
}

} // namespace celvane
