#pragma once
// The one player every part of the program plays sounds through, one sound at a time, and the
// two switches that silence film sounds and the program's own feedback sounds. The machine's
// player is installed at start-up; with none (or no sound device) nothing is heard and nothing
// waits.

#include "sound/Sound.h"

namespace celvane {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    static SoundPlayer* current();
    static void setCurrent(SoundPlayer* player);

    // Plays `sound` (stopping whatever plays) at a pan (-127..127), volume (0..127), pitch
    // (semitones) and duration (twentieths of a second, or PlayPlan::kWhole); a follow-on sound
    // then loops until stopped. Returns the rate played at.
    virtual int play(const Sound& sound, int pan, int volume, int pitch, int duration,
                     const Sound* followOn = nullptr) = 0;
    // The whole sound once at full volume, centred and at its own pitch.
    int playWhole(const Sound& sound, const Sound* followOn = nullptr);
    // A stop that is not forced lets a looping follow-on sound end its pass.
    virtual void stop(bool forced) = 0;
    // Lets a looping follow-on sound end its pass; any other sound plays on.
    virtual void endLoop() = 0;
    // Whether a sound is still playing; closes the device once nothing is.
    virtual bool poll() = 0;
    // The sound playing now, or null.
    virtual const Sound* playing() const = 0;
};

// Both on when the program starts; not kept between runs.
struct SoundSwitches {
    static inline bool filmSounds = true;
    static inline bool soundEffects = true;
};

} // namespace celvane
