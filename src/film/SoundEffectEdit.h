#pragma once
// The arithmetic of the Sound Effect dialog: a copy of a frame's sound settings, edited as the
// child types frames or seconds, moves the pitch, or asks for the whole sound once; what the
// edits and the "Duration:" text show; and how the waveform is repeated and shaded.

#include <string>

#include "film/FrameSound.h"

namespace celvane {

class SoundEffectEdit {
public:
    enum class Mode { Once, Frames, Seconds };
    // What became of a typed value.
    enum class Typed { Applied, Ignored, Capped };
    static constexpr int kMostFrames = 1000;
    static constexpr double kMostSeconds = 1000, kFewestSeconds = 0.05;

    // `rate` and `samples` describe the sound; `period` is the film's frame period in ms.
    SoundEffectEdit(const FrameSound& settings, int rate, int samples, int period);

    const FrameSound& settings() const { return settings_; }
    Mode mode() const { return mode_; }
    const std::string& framesText() const { return framesText_; }
    const std::string& secondsText() const { return secondsText_; }
    // "Duration:" as seconds the sound lasts at the current pitch, "%.2f".
    std::string durationText() const;
    int pitchedRate() const;

    void playOnce();
    // Choosing a mode applies the value its edit shows.
    void choose(Mode mode);
    // Typed counts and seconds; a capped value leaves "1000" in the edit and the duration as it was.
    Typed typeFrames(const std::string& text);
    Typed typeSeconds(const std::string& text);
    void setVolume(int volume);
    void setPitch(int pitch);
    void setPan(int pan);
    // Pitch 0, volume 127, centre, the whole sound once.
    void defaults();

    // How many times the waveform shows the sound across its width (exactly 1 in "Once").
    double repeat() const;
    // The fraction of the width after which the sound no longer plays, or 1 when it plays through.
    double playedFraction() const;

private:
    double soundSeconds() const;
    double durationSeconds() const;
    // Sets a typed duration; 0 and 255 mean "once" when stored, so they become their neighbours.
    void setDuration(int twentieths);
    // The edits show the length of the whole sound ("Once"), or the duration.
    void showLength();
    void showDuration();

    FrameSound settings_;
    int rate_, samples_, period_;
    Mode mode_;
    std::string framesText_, secondsText_;
};

// A whole integer within [low, high] typed into an edit, or false.
bool typedInteger(const std::string& text, int low, int high, int& value);

} // namespace celvane
