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
    const size_t length = sound.playData().size();
    const int code = sound.playCode();
    const size_t align = frameBytesOf(code);
    size_t bytes = length;
    if (code != Sound::Described && duration != PlayPlan::kWhole)
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

double plannedFrames(const Sound& sound, const PlayPlan& plan)
{
    const size_t frameBytes = frameBytesOf(sound.playCode());
    return double(sound.playData().size() / frameBytes) * plan.loops + double(plan.bytes / frameBytes);
}

} // namespace celvane
