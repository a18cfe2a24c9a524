#include "platform/SoundRecorder.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>
#include <algorithm>
#include <cstring>

namespace celvane {

namespace {

QAudioFormat qtFormat(const RecordingFormat& f)
{
    QAudioFormat q;
    q.setSampleRate(f.rate);
    q.setChannelCount(f.channels);
    q.setSampleFormat(f.bitsPerSample == 16 ? QAudioFormat::Int16 : QAudioFormat::UInt8);
    return q;
}

QAudioDevice inputDevice(int device)
{
    const QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    return device >= 0 && device < inputs.size() ? inputs[device] : QAudioDevice();
}

} // namespace

SoundRecorder::SoundRecorder() = default;

SoundRecorder::~SoundRecorder() { stop(); }

std::vector<std::string> SoundRecorder::deviceNames()
{
    std::vector<std::string> names;
    for (const QAudioDevice& d : QMediaDevices::audioInputs())
        names.push_back(d.description().toStdString());
    return names;
}

uint32_t SoundRecorder::formatBits(int device)
{
    const QAudioDevice d = inputDevice(device);
    uint32_t bits = 0;
    for (int b = 0; b < RecordingFormat::kBits && !d.isNull(); ++b)
        if (d.isFormatSupported(qtFormat(RecordingFormat::ofBit(1u << b))))
            bits |= 1u << b;
    return bits;
}

bool SoundRecorder::start(int device, uint32_t formatBit, size_t bytes, std::string& error)
{
    stop();
    const QAudioDevice d = inputDevice(device);
    const RecordingFormat format = RecordingFormat::ofBit(formatBit);
    if (d.isNull() || !d.isFormatSupported(qtFormat(format))) {
        error = "The sound-recording device does not take this format.";
        return false;
    }
    auto source = std::make_unique<QAudioSource>(d, qtFormat(format));
    QIODevice* input = source->start();
    if (!input || source->error() != QAudio::NoError) {
        error = "The sound-recording device could not be opened.";
        return false;
    }
    format_ = format;
    // Silence where the recording does not reach: 8-bit samples are centred on 128.
    buffer_.assign(bytes, format.bitsPerSample == 8 ? 0x80 : 0);
    filled_ = 0;
    source_ = std::move(source);
    input_ = input;
    connect(input_, &QIODevice::readyRead, this, &SoundRecorder::take);
    return true;
}

void SoundRecorder::take()
{
    if (!input_)
        return;
    const QByteArray data = input_->readAll();
    const size_t n = std::min(size_t(data.size()), buffer_.size() - filled_);
    std::memcpy(buffer_.data() + filled_, data.constData(), n);
    filled_ += n;
    if (filled_ == buffer_.size())
        finish();
}

void SoundRecorder::stop()
{
    if (source_)
        finish();
}

void SoundRecorder::finish()
{
    QObject::disconnect(input_, nullptr, this, nullptr);
    input_ = nullptr;
    // Stopping the source runs the event loop for a moment: let go of it first.
    std::unique_ptr<QAudioSource> source = std::move(source_);
    source->stop();
    source.reset();
    emit finished();
}

} // namespace celvane
