#include "platform/QtSoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/ByteIO.h"
#include "sound/PlayPlan.h"

namespace celvane {

// The samples a play plan sends: some whole passes of the sound, then the first bytes of one
// more, then a follow-on sound looping, each sample frame widened to 16-bit stereo at the plan's
// channel levels and stepped through at the plan's rate against the device's own. It keeps the
// samples it reads, so that a sound changed or destroyed while it plays is not read from.
class PlayStream : public QIODevice {
public:
    PlayStream(const Sound& sound, const PlayPlan& plan, const Sound* followOn, int deviceRate, QObject* player)
        : QIODevice(player), sound_(&sound), followOn_(followOn), samples_(sound.pcm()), left_(plan.left), right_(plan.right)
    {
        step_ = double(plan.rate) / deviceRate;
        mainSent_ = size_t(std::ceil(plannedFrames(samples_, plan) / step_));
        if (followOn) {
            followSamples_ = followOn->pcm();
            followStep_ = double(followOn->rate()) / deviceRate;
        }
        open(QIODevice::ReadOnly);
    }

    // Which sounds these are, for telling whether one of them plays; never read through.
    const Sound* sound() const { return sound_; }
    const Sound* followOn() const { return followOn_; }
    // Lets a looping follow-on sound finish the pass it is in.
    void endLoop() { passes_ = std::min(passes_, currentPass_ + 1); }
    bool isSequential() const override { return true; }
    bool done() const { return finished_; }
    size_t framesSent() const { return sent_; }

protected:
    qint64 readData(char* out, qint64 max) override
    {
        qint64 written = 0;
        while (written + 4 <= max && !finished_) {
            int16_t l = 0, r = 0;
            if (!next(l, r)) {
                finished_ = true;
                break;
            }
            storeLE16(reinterpret_cast<uint8_t*>(out + written), uint16_t(int16_t(std::lround(l * left_))));
            storeLE16(reinterpret_cast<uint8_t*>(out + written + 2), uint16_t(int16_t(std::lround(r * right_))));
            written += 4;
        }
        return written;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    bool next(int16_t& l, int16_t& r)
    {
        if (sent_ < mainSent_) {
            samples_.frame(size_t(double(sent_++) * step_) % std::max<size_t>(samples_.frames(), 1), l, r);
            return true;
        }
        const size_t frames = followSamples_.frames();
        if (frames == 0)
            return false;
        const size_t at = size_t(double(sent_ - mainSent_) * followStep_);
        currentPass_ = int(at / frames);
        if (currentPass_ >= passes_)
            return false;
        followSamples_.frame(at % frames, l, r);
        ++sent_;
        return true;
    }

    const Sound* sound_;
    const Sound* followOn_;
    PcmSamples samples_, followSamples_;
    double left_, right_;
    double step_ = 1, followStep_ = 0;
    size_t mainSent_ = 0;
    size_t sent_ = 0;
    int currentPass_ = 0;
    int passes_ = 200; // of a follow-on sound, as the action sounds loop
    bool finished_ = false;
};

namespace {
// What the output holds after it has taken the last samples.
constexpr qint64 kTailMs = 250;
// The device plays at this rate; sounds are stepped through at theirs.
constexpr int kDeviceRate = 44100;
// What the output may hold ahead of what is heard: 200 ms of 16-bit stereo. It is asked for
// before every start, because the sink otherwise asks each new stream for the smaller size the
// server gave the last one, until the buffer is too small to take a single chunk and the sound
// never starts.
constexpr qsizetype kBufferBytes = kDeviceRate * 4 / 5;
} // namespace

QtSoundPlayer::QtSoundPlayer() { Sound::setOutput(this); }

QtSoundPlayer::~QtSoundPlayer()
{
    close();
    Sound::setOutput(nullptr);
    if (SoundPlayer::current() == this)
        SoundPlayer::setCurrent(nullptr);
}

bool QtSoundPlayer::hasDevice() const { return !QMediaDevices::defaultAudioOutput().isNull(); }

bool QtSoundPlayer::accepts(int playCode, int rate) const
{
    return playCode >= Sound::Pcm8Mono && playCode <= Sound::Pcm16Stereo && rate > 0;
}

void QtSoundPlayer::forget(const Sound& sound)
{
    if (stream_ && (stream_->sound() == &sound || stream_->followOn() == &sound))
        stop(true);
}

// Until a poll has seen its time pass, the sound may still be heard.
const Sound* QtSoundPlayer::playing() const { return stream_ ? stream_->sound() : nullptr; }

size_t QtSoundPlayer::framesSent() const { return stream_ ? stream_->framesSent() : 0; }

int QtSoundPlayer::play(const Sound& sound, int pan, int volume, int pitch, int duration, const Sound* followOn)
{
    const PlayPlan plan = planPlay(sound, pan, volume, pitch, duration);
    if (!sound.playable() || plan.rate <= 0 || (followOn && !followOn->playable()))
        return plan.rate;
    stop(true);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return plan.rate;
    // One format for every sound: closing a device runs the event loop, which must not happen in
    // the middle of whatever asked for the sound.
    if (!sink_) {
        QAudioFormat format;
        format.setSampleRate(kDeviceRate);
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = std::make_unique<QAudioSink>(device, format, this);
    }
    stream_ = std::make_unique<PlayStream>(sound, plan, followOn, kDeviceRate, this);
    sink_->setBufferSize(kBufferBytes);
    sink_->start(stream_.get());
    since_.start();
    emit started();
    return plan.rate;
}

void QtSoundPlayer::stop(bool forced)
{
    if (!stream_)
        return;
    if (!forced && stream_->followOn())
        endLoop();
    else
        endStream();
}

void QtSoundPlayer::endLoop()
{
    if (stream_ && stream_->followOn())
        stream_->endLoop();
}

bool QtSoundPlayer::poll()
{
    // The device reports it is idle as soon as it has taken the last samples, well before they
    // are heard: the sound has ended once the time it lasts has passed.
    if (stream_ && stream_->done()
        && since_.elapsed() >= qint64(stream_->framesSent()) * 1000 / kDeviceRate + kTailMs)
        endStream();
    if (!stream_)
        close();
    return stream_ != nullptr;
}

void QtSoundPlayer::endStream()
{
    // The sink reads the stream until it is stopped.
    if (sink_)
        sink_->stop();
    stream_.reset();
}

void QtSoundPlayer::close()
{
    endStream();
    sink_.reset();
}

} // namespace celvane
