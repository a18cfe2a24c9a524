#include "sound/PlayPlan.h"

#include <algorithm>
#include <cmath>

#include "sound/Sound.h"

namespace celvane {

int pitchedRate(int rate, int pitch)
{
    return int(std::trunc(rate * std::exp2(pitch / 12.0)));
}

PlayPlan planPlay(const Sound& sound, int pan, int volume, int pitch, int duration)
{
    PlayPlan plan;
    plan.rate = pitchedRate(sound.rate(), pitch);
    const PcmSamples pcm = sound.pcm();
    const size_t length = pcm.bytes->size();
    const size_t align = frameBytesOf(pcm.code);
    size_t bytes = length;
    if (sound.playCode() != Sound::Described && duration != PlayPlan::kWhole)
        bytes = size_t(std::max(duration, 0)) * size_t(std::max(plan.rate, 0)) / 20 * align;
    if (bytes > length && length > 0) {
        plan.loops = int(std::min<size_t>(bytes / length, 100000));
        bytes %= length;
    }
    plan.bytes = std::min(bytes, length);
    pan = std::clamp(pan, -127, 127);
    volume = std::clamp(volume, 0, 127);
    plan.left = volume * (127.0 - pan) / 32258.0;
    plan.right = volume * (127.0 + pan) / 32258.0;
    return plan;
}

double plannedFrames(const PcmSamples& pcm, const PlayPlan& plan)
{
    return double(pcm.frames()) * plan.loops + double(plan.bytes / frameBytesOf(pcm.code));
}

} // namespace celvane
