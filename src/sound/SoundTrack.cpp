#include "sound/SoundTrack.h"

#include <algorithm>
#include <cmath>

#include "sound/PlayPlan.h"

namespace celvane {

namespace {

// Mixes one cue into `out` from sample `from` up to (not including) sample `to`.
void renderCue(const SoundCue& cue, size_t from, size_t to, int rate, std::vector<int16_t>& out)
{
    const PcmSamples pcm = cue.sound->pcm();
    const size_t frames = pcm.frames();
    if (frames == 0)
        return;
    const PlayPlan plan = planPlay(*cue.sound, cue.pan, cue.volume, cue.pitch, cue.duration);
    if (plan.rate <= 0)
        return;
    const double total = plannedFrames(pcm, plan);
    const double step = double(plan.rate) / rate;
    for (size_t j = from; j < to; ++j) {
        const double at = double(j - from) * step;
        if (at >= total)
            break;
        int16_t l = 0, r = 0;
        pcm.frame(size_t(at) % frames, l, r);
        out[2 * j] = int16_t(std::clamp(std::lround(l * plan.left), -32768L, 32767L));
        out[2 * j + 1] = int16_t(std::clamp(std::lround(r * plan.right), -32768L, 32767L));
    }
}

} // namespace

std::vector<int16_t> renderSoundTrack(const std::vector<SoundCue>& cues, int64_t lengthMs, int rate)
{
    const size_t length = size_t(std::max<int64_t>(lengthMs, 0) * rate / 1000);
    std::vector<int16_t> out(length * 2, 0);
    for (size_t k = 0; k < cues.size(); ++k) {
        if (!cues[k].sound)
            continue;
        const size_t from = std::min(length, size_t(std::max<int64_t>(cues[k].startMs, 0) * rate / 1000));
        const size_t to = k + 1 < cues.size() ? std::min(length, size_t(cues[k + 1].startMs * rate / 1000)) : length;
        if (from < to)
            renderCue(cues[k], from, to, rate, out);
    }
    return out;
}

} // namespace celvane
