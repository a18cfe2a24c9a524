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
#include "sound/SoundTrack.h"

namespace celvane {

// The samples a play plan sends: some whole passes of the sound, then the first bytes of one
// more, then a follow-on sound looping, each sample frame widened to 16-bit stereo at the plan's
// channel levels and stepped through at the plan's rate against the device's own.
class PlayStream {
public:
    PlayStream(const Sound& sound, const PlayPlan& plan, const Sound* followOn, int deviceRate)
        : sound_(&sound), followOn_(followOn), left_(plan.left), right_(plan.right)
    {
        step_ = double(plan.rate) / deviceRate;
        mainSent_ = size_t(std::ceil(plannedFrames(sound, plan) / step_));
        followStep_ = followOn ? double(followOn->rate()) / deviceRate : 0;
    }

    const Sound* sound() const { return sound_; }
    const Sound* followOn() const { return followOn_; }
    // Lets a looping follow-on sound finish the pass it is in.
    void endLoop() { passes_ = std::min(passes_, currentPass_ + 1); }
    bool done() const { return finished_; }
    size_t framesSent() const { return sent_; }

    // The next sample frame at the plan's levels; false once the sound has ended.
    bool next(int16_t& l, int16_t& r)
    {
        if (finished_ || !advance(l, r)) {
            finished_ = true;
            return false;
        }
        l = int16_t(std::lround(l * left_));
        r = int16_t(std::lround(r * right_));
        return true;
    }

private:
    bool advance(int16_t& l, int16_t& r)
    {
        if (sent_ < mainSent_) {
            pcmFrame(*sound_, size_t(double(sent_++) * step_) % std::max<size_t>(pcmFrameCount(*sound_), 1), l, r);
            return true;
        }
        const size_t frames = followOn_ ? pcmFrameCount(*followOn_) : 0;
        if (frames == 0)
            return false;
        const size_t at = size_t(double(sent_ - mainSent_) * followStep_);
        currentPass_ = int(at / frames);
        if (currentPass_ >= passes_)
            return false;
        pcmFrame(*followOn_, at % frames, l, r);
        ++sent_;
        return true;
    }

    const Sound* sound_;
    const Sound* followOn_;
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
// How much the device holds ahead of what is heard, and how often it is topped up: a stopped
// sound goes on this long at most, and a new one is written the moment it is asked for.
constexpr int kAheadMs = 50;
constexpr int kPumpMs = 10;
constexpr int kIdleAheadMs = 20;
} // namespace

QtSoundPlayer::QtSoundPlayer()
{
    Sound::setOutput(this);
    pump_.setTimerType(Qt::PreciseTimer);
    pump_.setInterval(kPumpMs);
    connect(&pump_, &QTimer::timeout, this, &QtSoundPlayer::pump);
}

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
    if (voice() && (voice()->sound() == &sound || voice()->followOn() == &sound))
        stop(true);
}

// Until a poll has seen its time pass, the sound may still be heard.
const Sound* QtSoundPlayer::playing() const { return voice() ? voice()->sound() : nullptr; }

PlayStream* QtSoundPlayer::voice() const { return voice_.get(); }

size_t QtSoundPlayer::framesSent() const { return voice() ? voice()->framesSent() : 0; }

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
        // Written to as the sound goes: a device pulling by itself can stay silent after a stop.
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->setBufferSize(kDeviceRate * 4 * kAheadMs / 1000);
        out_ = sink_->start();
    }
    voice_ = std::make_unique<PlayStream>(sound, plan, followOn, kDeviceRate);
    since_.start();
    pump();
    pump_.start();
    emit started();
    return plan.rate;
}

void QtSoundPlayer::stop(bool forced)
{
    if (!voice())
        return;
    if (!forced && voice()->followOn()) {
        voice()->endLoop();
        return;
    }
    voice_.reset();
}

void QtSoundPlayer::pump()
{
    if (!out_) {
        pump_.stop();
        return;
    }
    // The device is never left to run dry while it is open: it would hold back the end of a sound
    // until it was closed. Between sounds it gets silence, only a little ahead, so that the next
    // sound is not queued behind much of it.
    const qsizetype free = sink_->bytesFree() / 4 * 4;
    const qsizetype idleRoom = std::max<qsizetype>(0, free - (sink_->bufferSize() - kDeviceRate * 4 * kIdleAheadMs / 1000));
    const bool sounding = voice_ && !voice_->done();
    QByteArray block((sounding ? free : idleRoom) / 4 * 4, '\0');
    qsizetype at = 0;
    int16_t l = 0, r = 0;
    while (sounding && at < block.size() && voice_->next(l, r)) {
        storeLE16(reinterpret_cast<uint8_t*>(block.data() + at), uint16_t(l));
        storeLE16(reinterpret_cast<uint8_t*>(block.data() + at + 2), uint16_t(r));
        at += 4;
    }
    if (!block.isEmpty())
        out_->write(block.constData(), block.size());
}

bool QtSoundPlayer::poll()
{
    // The device reports it is idle as soon as it has taken the last samples, well before they
    // are heard: the sound has ended once the time it lasts has passed.
    if (voice() && voice()->done()
        && since_.elapsed() >= qint64(voice()->framesSent()) * 1000 / kDeviceRate + kTailMs)
        voice_.reset();
    if (!voice())
        close();
    return voice() != nullptr;
}

void QtSoundPlayer::close()
{
    pump_.stop();
    out_ = nullptr;
    if (sink_)
        sink_->stop();
    sink_.reset();
    voice_.reset();
}

} // namespace celvane
