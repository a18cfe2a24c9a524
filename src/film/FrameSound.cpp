#include "film/FrameSound.h"

#include <algorithm>
#include <cmath>

#include "film/FilmSoundTable.h"
#include "sound/Sound.h"

namespace celvane {

namespace {

constexpr uint32_t kNumber = FilmSoundTable::kSoundNumber, kNotPlayed = FilmSoundTable::kNotPlayedBits;
constexpr uint32_t kFramesFlag = 0x10000;

} // namespace

int32_t pitchCode(int pitch, int rate)
{
    if (pitch == 0 || rate <= 0)
        return 0;
    return logRateCode(std::exp2(pitch / 12.0) * rate);
}

int pitchOfCode(int32_t code, int rate)
{
    if (code == 0 || rate <= 0)
        return 0;
    // Rounded, not cut: the rate code is itself rounded, and cutting turns -5 into -4.
    return std::clamp(int(std::lround(12.0 * std::log2(double(rateOfLogCode(code)) / rate))), -36, 36);
}

bool FrameSound::read(const FrameSoundEntry& entry, int rate, FrameSound& out)
{
    const uint32_t w0 = entry.words[0];
    if (!FilmSoundTable::namesASound(entry))
        return false;
    out.sound = int(w0 & kNumber);
    out.inFrames = (w0 & kFramesFlag) != 0;
    out.pan = std::clamp(int(int8_t(w0 >> 24)), -127, 127);
    out.volume = std::clamp(int(entry.words[1]) - 256, 0, 127);
    out.pitch = pitchOfCode(int32_t(entry.words[2]), rate);
    out.duration = int(std::min<uint32_t>(entry.words[3], 0x7FFFFFFF));
    return true;
}

FrameSoundEntry FrameSound::stored(int rate, const FrameSoundEntry& previous) const
{
    FrameSoundEntry e;
    e.words[0] = (previous.words[0] & kNotPlayed) | uint32_t(sound & int(kNumber)) | (inFrames ? kFramesFlag : 0)
               | (uint32_t(uint8_t(int8_t(pan))) << 24);
    e.words[1] = uint32_t(volume + 256);
    e.words[2] = uint32_t(pitchCode(pitch, rate));
    e.words[3] = uint32_t(duration);
    return e;
}

} // namespace celvane
