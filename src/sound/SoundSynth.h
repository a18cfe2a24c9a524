#pragma once
// The sounds the program ships, made by our own code: a small synthesiser of tones, sweeps and
// noise bursts with envelopes, and the named recipes of the sound picker's default library and of
// the action sounds.

#include <memory>
#include <string>
#include <vector>

#include "sound/Sound.h"

namespace celvane {

class Synth {
public:
    enum Shape { Sine, Square, Triangle, Saw };
    static constexpr int kRate = 22050;

    explicit Synth(double seconds);
    // A tone from `start` for `length` seconds gliding from f0 to f1 Hz, rising over `attack`
    // seconds and dying away at `decay` (per second).
    Synth& tone(double start, double length, double f0, double f1, Shape shape = Sine, double level = 1,
                double attack = 0.005, double decay = 3);
    // Noise, smoothed by `smooth` (0 hiss .. 0.99 rumble).
    Synth& noise(double start, double length, double level = 1, double smooth = 0, double attack = 0.002,
                 double decay = 8);
    // 16-bit mono, scaled so that the loudest sample is near full level.
    std::unique_ptr<Sound> sound() const;

private:
    std::vector<double> samples_;
    unsigned seed_ = 12345;
};

// The default sound picker library's sounds and the action sounds, by name.
const std::vector<std::string>& pickerSoundNames();
const std::vector<std::string>& actionSoundNames();
// Throws NotSupportedError for a name with no recipe.
std::unique_ptr<Sound> synthesizeSound(const std::string& name);

} // namespace celvane
