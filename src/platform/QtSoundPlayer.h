#pragma once
// The sound player on the machine's audio output (PulseAudio or PipeWire through Qt): the device
// is opened as 16-bit stereo; a sound is stepped through at its pitched rate, and pan and volume
// are the two channels' levels. Without an output device every sound is skipped.

#include <QElapsedTimer>
#include <QObject>
#include <memory>

#include "sound/PlayPlan.h"
#include "sound/SoundPlayer.h"

class QAudioSink;

namespace celvane {

class PlayStream;

class QtSoundPlayer : public QObject, public SoundPlayer, public SoundOutput {
    Q_OBJECT
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    // SoundPlayer
    int play(const Sound& sound, int pan, int volume, int pitch, int duration, const Sound* followOn) override;
    void stop(bool forced) override;
    void endLoop() override;
    bool poll() override;
    const Sound* playing() const override;

    // SoundOutput
    bool accepts(int playCode, int rate) const override;
    void forget(const Sound& sound) override;

    // There is an output device to play on.
    bool hasDevice() const;
    bool deviceOpen() const { return sink_ != nullptr; }
    // Sample frames of the playing sound the device has taken so far.
    size_t framesSent() const;
    // Stops and closes the device now. Closing it runs the event loop for a moment, so owners call
    // this while what events may reach is still whole.
    void closeDevice() { close(); }

signals:
    // A sound began: whoever polls the player starts doing so.
    void started();

private:
    // Stops the sink before the stream it reads goes.
    void endStream();
    void close();

    // Owned here; children of the player too, so that what the player holds can be looked at.
    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<PlayStream> stream_;
    QElapsedTimer since_; // the sound playing started
};

} // namespace celvane
