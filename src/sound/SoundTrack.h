#pragma once
// Sounds laid on a time line as a film plays them, mixed into one stereo track: each sound starts
// at its cue and, as in the program's player, stops when the next one starts.

#include <cstdint>
#include <vector>

#include "sound/Sound.h"

namespace celvane {

struct SoundCue {
    int64_t startMs = 0;
    const Sound* sound = nullptr;
    int pan = 0, volume = 127, pitch = 0, duration = 255;
};

// `lengthMs` of 16-bit stereo samples (left, right) at `rate`; cues in time order.
std::vector<int16_t> renderSoundTrack(const std::vector<SoundCue>& cues, int64_t lengthMs, int rate);

} // namespace celvane
