#pragma once
// What the player sends to the device for one request: the rate (pitch changes the rate), how
// many bytes of the play data after how many whole passes of it, and the two channels' levels.

#include <cstddef>

namespace celvane {

class Sound;
struct PcmSamples;

struct PlayPlan {
    static constexpr int kWhole = 255; // the duration that plays the whole sound once
    int rate = 0;
    size_t bytes = 0;
    int loops = 0;
    double left = 0.5; // 1 = full
    double right = 0.5;
};

// The rate a sound of `rate` Hz plays at, `pitch` semitones up or down.
int pitchedRate(int rate, int pitch);

// The plan for playing `sound` at a pan (-127..127), volume (0..127), pitch (semitones) and
// duration (twentieths of a second, or kWhole).
PlayPlan planPlay(const Sound& sound, int pan, int volume, int pitch, int duration);

// The sample frames of a sound's samples that its plan plays: whole passes and the part after them.
double plannedFrames(const PcmSamples& pcm, const PlayPlan& plan);

} // namespace celvane
