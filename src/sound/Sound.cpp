#include "sound/Sound.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <vector>

#include "sound/SoundCodecs.h"
#include "sound/WaveDecoder.h"

namespace celvane {

namespace {

SoundOutput* g_output = nullptr;

// Decoded to 16-bit mono samples through `decode`.
template <void (*decode)(ByteSpan, int16_t*, size_t)>
class DecodedSound : public Sound {
protected:
    void preparePlayData() override
    {
        const size_t count = size_t(std::max(sampleCount_, 0));
        Bytes samples(count * 2);
        std::vector<int16_t> values(count);
        decode(storedData_, values.data(), values.size());
        for (size_t i = 0; i < values.size(); ++i)
            storeLE16(&samples[2 * i], uint16_t(values[i]));
        playData_ = std::make_shared<const Bytes>(std::move(samples));
        playCode_ = Pcm16Mono;
    }
};

class PlainSound : public Sound {};

} // namespace

std::unique_ptr<Sound> Sound::create(int code)
{
    std::unique_ptr<Sound> sound;
    if (code == Logarithmic)
        sound.reset(new DecodedSound<decodeLogarithmic>);
    else if (code == ImaAdpcm)
        sound.reset(new DecodedSound<decodeImaAdpcm>);
    else
        sound.reset(new PlainSound);
    sound->storedCode_ = sound->playCode_ = code;
    return sound;
}

void Sound::setOutput(SoundOutput* output) { g_output = output; }

void Sound::preparePlayData()
{
    playData_ = std::make_shared<const Bytes>(std::move(storedData_));
    storedData_.clear();
    playCode_ = storedCode_;
}

void Sound::setData(int code, int rate, ByteSpan bytes, int sampleCount, ByteSpan formatBlock)
{
    Bytes copy(bytes.begin(), bytes.end());
    Bytes format = code == Described ? Bytes(formatBlock.begin(), formatBlock.end()) : Bytes();
    storedData_ = std::move(copy);
    formatBlock_ = std::move(format);
    storedCode_ = code;
    rate_ = rate;
    sampleCount_ = sampleCount;
    decoded_.reset();
    preparePlayData();
}

void Sound::replaceData(ByteSpan bytes, int sampleCount)
{
    storedData_.assign(bytes.begin(), bytes.end());
    sampleCount_ = sampleCount;
    decoded_.reset();
    preparePlayData();
}

void Sound::clear()
{
    if (g_output)
        g_output->forget(*this);
    playData_ = std::make_shared<const Bytes>();
    storedData_.clear();
    formatBlock_.clear();
    decoded_.reset();
}

PcmSamples Sound::pcm() const
{
    if (playCode_ >= Pcm8Mono && playCode_ <= Pcm16Stereo)
        return {playCode_, playData_};
    if (playCode_ != Described)
        return {};
    if (!decoded_) {
        Bytes wave;
        ByteWriter w(&wave);
        writeWave(&w);
        decoded_ = decodeWave(wave);
    }
    return *decoded_;
}

size_t PcmSamples::frames() const { return bytes->size() / frameBytesOf(code); }

void PcmSamples::frame(size_t index, int16_t& left, int16_t& right) const
{
    const uint8_t* p = bytes->data() + index * frameBytesOf(code);
    const bool stereo = code & 1, wide = code & 2;
    auto sample = [&](size_t k) { return wide ? int16_t(loadLE16(p + 2 * k)) : int16_t((p[k] - 128) * 256); };
    left = sample(0);
    right = stereo ? sample(1) : left;
}

bool Sound::checkPlayability()
{
    const PcmSamples samples = pcm();
    if (playCode_ == Described && samples.frames() > 0)
        sampleCount_ = int(samples.frames());
    const bool pcm = playCode_ == Described ? samples.frames() > 0 : playCode_ >= Pcm8Mono && playCode_ <= Pcm16Stereo;
    const bool ok = pcm && rate_ > 0 && (!g_output || g_output->accepts(samples.code, rate_));
    status_ = ok ? status_ & ~kUnplayable : status_ | kUnplayable;
    return ok;
}

Bytes Sound::formatBlockAt(int rate) const
{
    Bytes block = formatBlock_;
    // Length word, format tag, channels, then samples per second.
    if (block.size() >= 12)
        storeLE32(&block[8], uint32_t(rate));
    return block;
}

size_t Sound::writeData(ByteWriter* out, bool play) const
{
    const Bytes& bytes = play || storedData_.empty() ? *playData_ : storedData_;
    if (out)
        out->bytes(bytes);
    return bytes.size();
}

bool Sound::equals(const Sound& other) const
{
    return playCode_ == other.playCode_ && rate_ == other.rate_ && *playData_ == *other.playData_;
}

size_t Sound::writeWave(ByteWriter* out) const
{
    const Bytes block = formatBlockAt(rate_);
    const Bytes description = playCode_ == Described && block.size() >= 4
                                  ? Bytes(block.begin() + 4, block.end())
                                  : pcmDescription(playCode_, rate_);
    const size_t total = 28 + description.size() + playData_->size();
    if (out) {
        out->u32(0x46464952); // "RIFF"
        out->u32(uint32_t(total - 8));
        out->u32(0x45564157); // "WAVE"
        out->u32(0x20746D66); // "fmt "
        out->u32(uint32_t(description.size()));
        out->bytes(description);
        out->u32(0x61746164); // "data"
        out->u32(uint32_t(playData_->size()));
        out->bytes(*playData_);
    }
    return total;
}

int32_t logRateCode(double rate)
{
    return int32_t(std::trunc(4096.0 * std::log2(std::max(rate, 1.0) / 256.0) + 0.5));
}

int rateOfLogCode(int32_t code)
{
    const double rate = std::trunc(256.0 * std::exp2(std::clamp(code / 4096.0, -8.0, 12.0)) + 0.5);
    return int(std::clamp(rate, 1.0, double(kMaxSoundRate)));
}

Bytes pcmDescription(int playCode, int rate)
{
    const bool stereo = playCode & 1, wide = playCode & 2;
    const uint16_t align = uint16_t(frameBytesOf(playCode));
    Bytes d;
    ByteWriter w(&d);
    w.u16(1);
    w.u16(stereo ? 2 : 1);
    w.u32(uint32_t(rate));
    w.u32(uint32_t(align) * uint32_t(rate));
    w.u16(align);
    w.u16(wide ? 16 : 8);
    return d;
}

} // namespace celvane
