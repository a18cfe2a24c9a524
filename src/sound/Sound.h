#pragma once
// One sound effect in memory: its samples, the code of the encoding they came in, its rate and
// its length in sample frames. Logarithmic and ADPCM sounds keep their compact bytes and are
// decoded to 16-bit samples for playing; every other sound plays the bytes it was given. A sound
// may also be unplayable here (an encoding the player does not take): it is still kept, saved
// and shown.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/ByteIO.h"

namespace celvane {

class Sound;

// A sound's samples as PCM of codes 0 to 3, shared, so that whoever plays or mixes them keeps
// them for as long as it needs, whatever becomes of the sound.
struct PcmSamples {
    int code = 0;
    std::shared_ptr<const Bytes> bytes = std::make_shared<const Bytes>();
    size_t frames() const;
    // Sample frame `index` (below frames()) as 16-bit left and right.
    void frame(size_t index, int16_t& left, int16_t& right) const;
};

// What the sound output of this machine tells the sounds about itself.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Whether PCM of this code (0 to 3) and rate can be played.
    virtual bool accepts(int playCode, int rate) const = 0;
    // The sound is about to lose its data: stop it if it is playing.
    virtual void forget(const Sound& sound) = 0;
};

class Sound {
public:
    enum Code : int {
        Pcm8Mono = 0,
        Pcm8Stereo = 1,
        Pcm16Mono = 2,
        Pcm16Stereo = 3,
        Logarithmic = 4,
        ImaAdpcm = 8,
        // Any other encoding, described by the wave format block kept with the sound.
        Described = 20,
    };
    static constexpr uint32_t kUnplayable = 0x01;

    // A new empty sound of the kind that decodes `code`.
    static std::unique_ptr<Sound> create(int code = Pcm8Mono);
    virtual ~Sound() = default;
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // The sound output the playability checks ask (none: every PCM sound counts as playable).
    static void setOutput(SoundOutput* output);

    // `formatBlock` (a 32-bit length and a wave format description) is kept for code 20 only.
    void setData(int code, int rate, ByteSpan bytes, int sampleCount, ByteSpan formatBlock = {});
    // New bytes in the same encoding and rate (a trimmed recording).
    void replaceData(ByteSpan bytes, int sampleCount);
    void clear();
    // Whether the output takes the sound's PCM; a code-20 sound that decodes takes the sample
    // count of what it decodes to.
    bool checkPlayability();
    bool playable() const { return (status_ & kUnplayable) == 0; }

    int storedCode() const { return storedCode_; }
    int playCode() const { return playCode_; }
    int rate() const { return rate_; }
    void setRate(int rate) { rate_ = rate; }
    int sampleCount() const { return sampleCount_; }
    const Bytes& playData() const { return *playData_; }
    // The sound as PCM: its play data, or what a code-20 sound decodes to (decoded when first
    // asked for); empty when it does not decode.
    PcmSamples pcm() const;
    // The compact bytes of a logarithmic or ADPCM sound; empty for the others.
    const Bytes& storedData() const { return storedData_; }
    const Bytes& formatBlock() const { return formatBlock_; }
    // The format block with its samples-per-second set to `rate` (empty when there is none).
    Bytes formatBlockAt(int rate) const;

    // The bytes a file holds for this sound: with `play` the play data, otherwise the compact bytes
    // when there are any. Returns their length; writes them when `out` is given.
    size_t writeData(ByteWriter* out, bool play) const;
    // Same play code, rate and play data.
    bool equals(const Sound& other) const;
    // A RIFF WAVE file of the play data; returns its length, writes it when `out` is given.
    size_t writeWave(ByteWriter* out) const;

    int useCount() const { return useCount_; }

protected:
    Sound() = default;
    // Makes the play data from the stored data.
    virtual void preparePlayData();

    uint32_t status_ = kUnplayable;
    int playCode_ = Pcm8Mono;
    int storedCode_ = Pcm8Mono;
    Bytes formatBlock_;
    int rate_ = 0;
    // Shared with the player while it plays them.
    std::shared_ptr<const Bytes> playData_ = std::make_shared<const Bytes>();
    Bytes storedData_;
    int sampleCount_ = 0;

private:
    // What a code-20 sound decodes to, once asked for.
    mutable std::optional<PcmSamples> decoded_;

    friend class SoundPool;
    int useCount_ = 0;
};


// The fastest rate a sound may have: what sound files can keep.
constexpr int kMaxSoundRate = 1000000;

// Rates as 4096ths of an octave above 256 Hz, as compact sound sets and pitched frame sounds keep
// them; back to Hz clamped to 1 Hz .. kMaxSoundRate.
int32_t logRateCode(double rate);
int rateOfLogCode(int32_t code);

// Bytes of one sample frame (a sample of every channel) of PCM in this code: bit 0 stereo, bit 1
// 16 bits.
inline size_t frameBytesOf(int code) { return size_t((code & 2 ? 2 : 1) * (code & 1 ? 2 : 1)); }

// The 16-byte PCM wave format description of a play code at a rate.
Bytes pcmDescription(int playCode, int rate);

} // namespace celvane
