#pragma once
// How a frame plays a sound: its pan, volume, pitch and duration, kept in the frame's sound entry
// as four words.

#include <cstdint>

#include "film/Graphic.h"
#include "sound/PlayPlan.h"

namespace celvane {

struct FrameSound {
    static constexpr int kWhole = PlayPlan::kWhole;
    int sound = 0;                     // its number in the film's sound library
    bool inFrames = false;             // the duration was given as a number of frames
    int pan = 0;                       // -127 (left) to 127 (right)
    int volume = 127;                  // 0 to 127
    int pitch = 0;                     // semitones, -36 to 36
    int duration = kWhole;             // twentieths of a second

    // The settings of a stored entry for a sound of `rate` Hz; false when the entry is not played.
    static bool read(const FrameSoundEntry& entry, int rate, FrameSound& out);
    // The stored entry; bits 17-23 of `previous` (zero for a new entry) are kept.
    FrameSoundEntry stored(int rate, const FrameSoundEntry& previous = {}) const;
};

// Pitch as stored (an absolute rate code, 0 for none) and back, for a sound of `rate` Hz.
int32_t pitchCode(int pitch, int rate);
int pitchOfCode(int32_t code, int rate);

} // namespace celvane
