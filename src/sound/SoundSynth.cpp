#include "sound/SoundSynth.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "base/Errors.h"

namespace celvane {

namespace {

constexpr double kPi = 3.14159265358979323846;

double wave(Synth::Shape shape, double phase)
{
    const double p = phase - std::floor(phase);
    switch (shape) {
    case Synth::Square: return p < 0.5 ? 1 : -1;
    case Synth::Triangle: return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Synth::Saw: return 2 * p - 1;
    default: return std::sin(2 * kPi * p);
    }
}

double envelope(double t, double attack, double decay) { return std::min(1.0, t / std::max(attack, 1e-4)) * std::exp(-decay * t); }

using Recipe = std::function<Synth()>;

// A few notes in a row: (frequency, length) pairs.
Synth tune(std::initializer_list<std::pair<double, double>> notes, Synth::Shape shape = Synth::Triangle)
{
    double total = 0;
    for (const auto& n : notes)
        total += n.second;
    Synth s(total + 0.1);
    double at = 0;
    for (const auto& [f, length] : notes) {
        if (f > 0)
            s.tone(at, length, f, f, shape, 0.8, 0.01, 2.5);
        at += length;
    }
    return s;
}

// Calls of animal-like sounds: a voice gliding between pitches with a little breath in it.
Synth call(double seconds, double f0, double f1, Synth::Shape shape, double breath)
{
    Synth s(seconds);
    s.tone(0, seconds, f0, f1, shape, 0.8, 0.03, 1.5).noise(0, seconds, breath, 0.6, 0.03, 3);
    return s;
}

using Recipes = std::map<std::string, Recipe>;

// The sound picker's set, for children's films.
const Recipes& pickerRecipes()
{
    static const Recipes table = {
        {"Footstep", [] { Synth s(0.5); s.noise(0, 0.12, 1, 0.9, 0.002, 30).noise(0.25, 0.12, 0.9, 0.9, 0.002, 30); return s; }},
        {"Bell", [] { Synth s(1.6); s.tone(0, 1.6, 880, 880, Synth::Sine, 1, 0.002, 2).tone(0, 1.6, 2200, 2200, Synth::Sine, 0.4, 0.002, 4); return s; }},
        {"Pop", [] { Synth s(0.15); s.tone(0, 0.15, 900, 200, Synth::Sine, 1, 0.001, 30); return s; }},
        {"Whoosh", [] { Synth s(0.8); s.noise(0, 0.8, 1, 0.5, 0.35, 4); return s; }},
        {"Drum", [] { Synth s(0.5); s.tone(0, 0.5, 150, 50, Synth::Sine, 1, 0.001, 8).noise(0, 0.05, 0.4, 0.3, 0.001, 40); return s; }},
        {"Cymbal", [] { Synth s(1.2); s.noise(0, 1.2, 1, 0, 0.001, 3); return s; }},
        {"Clap", [] { Synth s(0.25); s.noise(0, 0.02, 1, 0.2, 0.001, 60).noise(0.03, 0.2, 1, 0.2, 0.001, 25); return s; }},
        {"Knock", [] { Synth s(0.6); for (double t : {0.0, 0.2}) s.tone(t, 0.12, 220, 180, Synth::Sine, 1, 0.001, 35).noise(t, 0.03, 0.5, 0.7); return s; }},
        {"Boing", [] { Synth s(0.8); s.tone(0, 0.8, 200, 500, Synth::Triangle, 1, 0.002, 3); return s; }},
        {"Spring", [] { Synth s(0.7); for (int i = 0; i < 6; ++i) s.tone(i * 0.1, 0.12, 300 + 80 * i, 600 + 80 * i, Synth::Sine, 0.8, 0.002, 10); return s; }},
        {"Beep", [] { Synth s(0.3); s.tone(0, 0.3, 1000, 1000, Synth::Square, 0.6, 0.005, 1); return s; }},
        {"Buzz", [] { Synth s(0.6); s.tone(0, 0.6, 110, 110, Synth::Saw, 0.8, 0.01, 1); return s; }},
        {"Zap", [] { Synth s(0.3); s.tone(0, 0.3, 2000, 100, Synth::Saw, 0.8, 0.001, 6); return s; }},
        {"Laser", [] { Synth s(0.5); s.tone(0, 0.5, 1800, 400, Synth::Square, 0.6, 0.001, 3); return s; }},
        {"Siren", [] { Synth s(2.0); for (int i = 0; i < 2; ++i) s.tone(i * 1.0, 0.5, 600, 900, Synth::Sine, 0.8, 0.02, 0).tone(i * 1.0 + 0.5, 0.5, 900, 600, Synth::Sine, 0.8, 0.02, 0); return s; }},
        {"Horn", [] { Synth s(0.7); s.tone(0, 0.7, 392, 392, Synth::Saw, 0.6, 0.03, 0.8).tone(0, 0.7, 494, 494, Synth::Saw, 0.5, 0.03, 0.8); return s; }},
        {"Ding dong", [] { Synth s(1.6); s.tone(0, 0.8, 659, 659, Synth::Sine, 1, 0.002, 2.5).tone(0.7, 0.9, 523, 523, Synth::Sine, 1, 0.002, 2.5); return s; }},
        {"Tune", [] { return tune({{523, 0.2}, {587, 0.2}, {659, 0.2}, {784, 0.4}, {659, 0.2}, {784, 0.6}}); }},
        {"Fanfare", [] { return tune({{392, 0.15}, {392, 0.15}, {392, 0.15}, {523, 0.6}}, Synth::Saw); }},
        {"Sad trombone", [] { return tune({{392, 0.3}, {370, 0.3}, {349, 0.3}, {330, 0.8}}, Synth::Saw); }},
        {"Tick tock", [] { Synth s(1.0); s.tone(0, 0.05, 2500, 2500, Synth::Square, 0.6, 0.001, 60).tone(0.5, 0.05, 1800, 1800, Synth::Square, 0.6, 0.001, 60); return s; }},
        {"Wind", [] { Synth s(2.5); s.noise(0, 2.5, 1, 0.95, 0.8, 0.8); return s; }},
        {"Rain", [] { Synth s(2.0); for (int i = 0; i < 40; ++i) s.noise(i * 0.05 + 0.01 * (i % 3), 0.03, 0.5, 0.3, 0.001, 80); return s; }},
        {"Thunder", [] { Synth s(2.5); s.noise(0, 2.5, 1, 0.97, 0.05, 1.5); return s; }},
        {"Splash", [] { Synth s(0.8); s.noise(0, 0.8, 1, 0.4, 0.005, 5).tone(0, 0.2, 400, 150, Synth::Sine, 0.5, 0.001, 12); return s; }},
        {"Slide whistle", [] { Synth s(1.0); s.tone(0, 0.5, 500, 1500, Synth::Sine, 0.8, 0.02, 0).tone(0.5, 0.5, 1500, 500, Synth::Sine, 0.8, 0, 1); return s; }},
        {"Rocket", [] { Synth s(2.0); s.noise(0, 2.0, 1, 0.85, 0.3, 0.5).tone(0, 2.0, 80, 400, Synth::Saw, 0.3, 0.3, 0.5); return s; }},
        {"Heartbeat", [] { Synth s(1.2); for (double t : {0.0, 0.25, 0.8}) s.tone(t, 0.15, 60, 45, Synth::Sine, 1, 0.005, 20); return s; }},
        {"Snore", [] { Synth s(2.0); s.noise(0, 1.0, 0.8, 0.9, 0.4, 1).tone(0, 1.0, 90, 70, Synth::Saw, 0.4, 0.4, 1).noise(1.2, 0.6, 0.4, 0.2, 0.2, 3); return s; }},
        {"Bark", [] { Synth s(0.5); s.tone(0, 0.18, 600, 300, Synth::Saw, 1, 0.005, 8).noise(0, 0.18, 0.4, 0.5, 0.005, 10).tone(0.28, 0.18, 600, 300, Synth::Saw, 1, 0.005, 8); return s; }},
        {"Meow", [] { return call(0.8, 500, 800, Synth::Triangle, 0.1); }},
        {"Moo", [] { return call(1.4, 140, 110, Synth::Saw, 0.15); }},
        {"Quack", [] { Synth s(0.3); s.tone(0, 0.3, 700, 500, Synth::Square, 0.8, 0.005, 6); return s; }},
        {"Tweet", [] { Synth s(0.5); for (double t : {0.0, 0.2}) s.tone(t, 0.12, 3000, 4200, Synth::Sine, 0.8, 0.002, 10); return s; }},
        {"Roar", [] { return call(1.3, 120, 80, Synth::Saw, 0.6); }},
        {"Hooray", [] { Synth s(1.5); for (int i = 0; i < 5; ++i) s.tone(0.02 * i, 1.4, 300 + 40 * i, 500 + 30 * i, Synth::Saw, 0.3, 0.1, 1.5); s.noise(0, 1.4, 0.3, 0.3, 0.1, 1.5); return s; }},
        {"Magic", [] { Synth s(1.2); for (int i = 0; i < 8; ++i) s.tone(i * 0.1, 0.3, 1200 + 200 * i, 1200 + 200 * i, Synth::Sine, 0.5, 0.002, 6); return s; }},
    };
    return table;
}

// The action sounds: short, quiet blips that say what happened.
const Recipes& actionRecipes()
{
    static const Recipes table = {
        {"To end", [] { Synth s(0.25); s.tone(0, 0.25, 600, 300, Synth::Triangle, 0.6, 0.002, 8); return s; }},
        {"Enter Dir", [] { Synth s(0.15); s.tone(0, 0.15, 400, 800, Synth::Sine, 0.6, 0.002, 8); return s; }},
        {"Leave Dir", [] { Synth s(0.15); s.tone(0, 0.15, 800, 400, Synth::Sine, 0.6, 0.002, 8); return s; }},
        {"Flood fill", [] { Synth s(0.3); s.tone(0, 0.3, 300, 300, Synth::Triangle, 0.5, 0.01, 6); return s; }},
        {"Eraser", [] { Synth s(0.2); s.noise(0, 0.2, 0.5, 0.5, 0.01, 10); return s; }},
        {"Stamps", [] { Synth s(0.2); s.tone(0, 0.2, 500, 500, Synth::Square, 0.4, 0.002, 12); return s; }},
        {"Fullscreen", [] { Synth s(0.4); s.tone(0, 0.4, 300, 900, Synth::Sine, 0.6, 0.01, 3); return s; }},
        {"Fullscreen off", [] { Synth s(0.4); s.tone(0, 0.4, 900, 300, Synth::Sine, 0.6, 0.01, 3); return s; }},
        {"Dropped", [] { Synth s(0.2); s.tone(0, 0.2, 700, 250, Synth::Sine, 0.7, 0.001, 15); return s; }},
        {"New tool", [] { Synth s(0.12); s.tone(0, 0.12, 1200, 1200, Synth::Sine, 0.5, 0.002, 20); return s; }},
        {"Pencil", [] { Synth s(0.15); s.tone(0, 0.15, 1000, 1300, Synth::Triangle, 0.5, 0.002, 12); return s; }},
        {"Pipette", [] { Synth s(0.15); s.tone(0, 0.15, 1500, 1000, Synth::Sine, 0.5, 0.002, 12); return s; }},
        {"Typewriter", [] { Synth s(0.1); s.noise(0, 0.05, 0.6, 0.1, 0.001, 60).tone(0, 0.05, 2000, 2000, Synth::Square, 0.3, 0.001, 60); return s; }},
        {"Snapshot", [] { Synth s(0.2); s.noise(0, 0.05, 0.7, 0.2, 0.001, 50).noise(0.08, 0.08, 0.7, 0.2, 0.001, 40); return s; }},
        {"Ghosting on", [] { Synth s(0.4); s.tone(0, 0.4, 400, 600, Synth::Sine, 0.4, 0.1, 3); return s; }},
        {"Ghosting off", [] { Synth s(0.4); s.tone(0, 0.4, 600, 400, Synth::Sine, 0.4, 0.1, 3); return s; }},
        {"Pencilling", [] { Synth s(0.3); s.noise(0, 0.3, 0.3, 0.2, 0.05, 2); return s; }},
        {"Pencilling again", [] { Synth s(0.3); s.noise(0, 0.3, 0.3, 0.2, 0.05, 0); return s; }},
        {"Erasing", [] { Synth s(0.3); s.noise(0, 0.3, 0.3, 0.6, 0.05, 0); return s; }},
        {"Erasing again", [] { Synth s(0.3); s.noise(0, 0.3, 0.3, 0.6, 0.05, 2); return s; }},
        {"Snap", [] { Synth s(0.15); s.noise(0, 0.15, 0.8, 0.1, 0.001, 30); return s; }},
        {"Stamping", [] { Synth s(0.15); s.tone(0, 0.15, 200, 120, Synth::Sine, 0.8, 0.001, 25).noise(0, 0.04, 0.4, 0.6); return s; }},
        {"Dropping", [] { Synth s(0.2); s.tone(0, 0.2, 500, 200, Synth::Sine, 0.6, 0.001, 15); return s; }},
        {"Filling", [] { Synth s(0.5); s.tone(0, 0.5, 200, 800, Synth::Sine, 0.5, 0.01, 3).noise(0, 0.5, 0.2, 0.8, 0.05, 3); return s; }},
        {"Typing", [] { Synth s(0.08); s.noise(0, 0.04, 0.6, 0.1, 0.001, 80); return s; }},
        {"Zoom in", [] { Synth s(0.2); s.tone(0, 0.2, 500, 1000, Synth::Sine, 0.5, 0.002, 8); return s; }},
        {"Zoom out", [] { Synth s(0.2); s.tone(0, 0.2, 1000, 500, Synth::Sine, 0.5, 0.002, 8); return s; }},
        {"Sounds", [] { Synth s(0.25); s.tone(0, 0.25, 660, 660, Synth::Sine, 0.5, 0.002, 6).tone(0.08, 0.17, 880, 880, Synth::Sine, 0.4, 0.002, 8); return s; }},
        {"Zoom", [] { Synth s(0.2); s.tone(0, 0.2, 700, 900, Synth::Triangle, 0.5, 0.002, 8); return s; }},
        {"Get stamp", [] { Synth s(0.15); s.tone(0, 0.15, 300, 600, Synth::Square, 0.4, 0.002, 12); return s; }},
        {"Undo", [] { Synth s(0.2); s.tone(0, 0.2, 800, 400, Synth::Triangle, 0.5, 0.002, 8); return s; }},
        {"Redo", [] { Synth s(0.2); s.tone(0, 0.2, 400, 800, Synth::Triangle, 0.5, 0.002, 8); return s; }},
    };
    return table;
}

} // namespace

Synth::Synth(double seconds) : samples_(size_t(std::max(seconds, 0.0) * kRate), 0.0) {}

Synth& Synth::tone(double start, double length, double f0, double f1, Shape shape, double level, double attack,
                   double decay)
{
    const size_t from = size_t(start * kRate), n = size_t(length * kRate);
    double phase = 0;
    for (size_t i = 0; i < n && from + i < samples_.size(); ++i) {
        const double t = double(i) / kRate;
        phase += (f0 + (f1 - f0) * t / std::max(length, 1e-4)) / kRate;
        samples_[from + i] += level * envelope(t, attack, decay) * wave(shape, phase);
    }
    return *this;
}

Synth& Synth::noise(double start, double length, double level, double smooth, double attack, double decay)
{
    const size_t from = size_t(start * kRate), n = size_t(length * kRate);
    double held = 0;
    for (size_t i = 0; i < n && from + i < samples_.size(); ++i) {
        seed_ = seed_ * 1103515245u + 12345u; // the same noise every build
        const double white = double((seed_ >> 8) & 0xFFFF) / 32768.0 - 1;
        held = smooth * held + (1 - smooth) * white;
        samples_[from + i] += level * envelope(double(i) / kRate, attack, decay) * held / std::max(0.1, 1 - smooth * 0.9);
    }
    return *this;
}

std::unique_ptr<Sound> Synth::sound() const
{
    double peak = 1e-9;
    for (double v : samples_)
        peak = std::max(peak, std::abs(v));
    Bytes data;
    ByteWriter w(&data);
    for (double v : samples_)
        w.u16(uint16_t(int16_t(std::lround(v / peak * 26000))));
    auto s = Sound::create(Sound::Pcm16Mono);
    s->setData(Sound::Pcm16Mono, kRate, data, int(samples_.size()));
    s->checkPlayability();
    return s;
}

const std::vector<std::string>& pickerSoundNames()
{
    static const std::vector<std::string> names = {
        "Footstep", "Bell", "Pop", "Whoosh", "Drum", "Cymbal", "Clap", "Knock", "Boing", "Spring",
        "Beep", "Buzz", "Zap", "Laser", "Siren", "Horn", "Ding dong", "Tune", "Fanfare", "Sad trombone",
        "Tick tock", "Wind", "Rain", "Thunder", "Splash", "Slide whistle", "Rocket", "Heartbeat", "Snore",
        "Bark", "Meow", "Moo", "Quack", "Tweet", "Roar", "Hooray", "Magic"};
    return names;
}

const std::vector<std::string>& actionSoundNames()
{
    static const std::vector<std::string> names = {
        "To end", "Enter Dir", "Leave Dir", "Flood fill", "Eraser", "Stamps", "Fullscreen", "Dropped",
        "New tool", "Pencil", "Pipette", "Typewriter", "Snapshot", "Ghosting on", "Ghosting off", "Pencilling",
        "Erasing", "Snap", "Stamping", "Dropping", "Filling", "Typing", "Zoom in", "Zoom out", "Fullscreen off",
        "Sounds", "Zoom", "Get stamp", "Undo", "Redo", "Pencilling again", "Erasing again"};
    return names;
}

std::unique_ptr<Sound> synthesizeSound(const std::string& name)
{
    for (const Recipes* recipes : {&pickerRecipes(), &actionRecipes()})
        if (const auto it = recipes->find(name); it != recipes->end())
            return it->second().sound();
    throw NotSupportedError("no recipe for the sound " + name);
}

} // namespace celvane
