#include "film/SoundEffectEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sound/PlayPlan.h"

namespace celvane {

namespace {

int nearest(double x) { return int(std::trunc(x + 0.5)); }

std::string formatted(const char* format, double value)
{
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Leading and trailing blanks are allowed; anything else after the number is not.
bool parsed(const std::string& text, double& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(value))
        return false;
    while (*end == ' ')
        ++end;
    return *end == '\0';
}

} // namespace

bool typedInteger(const std::string& text, int low, int high, int& value)
{
    double x = 0;
    if (!parsed(text, x) || x != std::trunc(x) || x < low || x > high)
        return false;
    value = int(x);
    return true;
}

SoundEffectEdit::SoundEffectEdit(const FrameSound& settings, int rate, int samples, int period)
    : settings_(settings), rate_(rate), samples_(samples), period_(std::max(period, 1))
{
    if (settings_.duration != 0 && settings_.duration != FrameSound::kWhole) {
        mode_ = settings_.inFrames ? Mode::Frames : Mode::Seconds;
        showDuration();
    } else {
        mode_ = Mode::Once;
        showLength();
    }
}

int SoundEffectEdit::pitchedRate() const { return std::max(1, celvane::pitchedRate(rate_, settings_.pitch)); }

double SoundEffectEdit::soundSeconds() const { return double(samples_) / pitchedRate(); }

double SoundEffectEdit::durationSeconds() const
{
    return mode_ == Mode::Once ? soundSeconds() : settings_.duration * 0.05;
}

std::string SoundEffectEdit::durationText() const { return formatted("%.2f", soundSeconds()); }

void SoundEffectEdit::showLength()
{
    secondsText_ = formatted("%.2f", nearest(soundSeconds() * 20) * 0.05);
    framesText_ = std::to_string(nearest(double(samples_) / (double(period_) * pitchedRate()) * 1000));
}

void SoundEffectEdit::showDuration()
{
    secondsText_ = formatted("%.2f", settings_.duration * 0.05);
    framesText_ = std::to_string(int(double(settings_.duration) / period_ * 50));
}

void SoundEffectEdit::setDuration(int twentieths)
{
    // A stored 0 or 255 would play the whole sound once instead of the time asked for.
    twentieths = std::max(twentieths, 1);
    settings_.duration = twentieths == FrameSound::kWhole ? twentieths + 1 : twentieths;
}

void SoundEffectEdit::playOnce()
{
    mode_ = Mode::Once;
    settings_.duration = FrameSound::kWhole;
    showLength();
}

void SoundEffectEdit::choose(Mode mode)
{
    if (mode == Mode::Once)
        return playOnce();
    const std::string shown = mode == Mode::Frames ? framesText_ : secondsText_;
    const Typed typed = mode == Mode::Frames ? typeFrames(shown) : typeSeconds(shown);
    if (typed != Typed::Applied) { // nothing usable shown: the shortest time the edit takes
        mode == Mode::Frames ? typeFrames("1") : typeSeconds("0.05");
    }
}

SoundEffectEdit::Typed SoundEffectEdit::typeFrames(const std::string& text)
{
    double k = 0;
    if (!parsed(text, k) || k < 1)
        return Typed::Ignored;
    if (k > kMostFrames) {
        framesText_ = std::to_string(kMostFrames);
        return Typed::Capped;
    }
    const int count = int(k);
    mode_ = Mode::Frames;
    setDuration(nearest(period_ * count * 0.02));
    framesText_ = std::to_string(count);
    secondsText_ = formatted("%.2f", settings_.duration * 0.05);
    return Typed::Applied;
}

SoundEffectEdit::Typed SoundEffectEdit::typeSeconds(const std::string& text)
{
    double x = 0;
    // Typed decimals are not exact in binary: 1.15 x 20 must give 23, not 22.
    constexpr double kSlack = 1e-9;
    if (!parsed(text, x) || x < kFewestSeconds - kSlack)
        return Typed::Ignored;
    if (x > kMostSeconds) {
        secondsText_ = formatted("%.0f", kMostSeconds);
        return Typed::Capped;
    }
    mode_ = Mode::Seconds;
    setDuration(int(std::trunc(x * 20 + kSlack)));
    secondsText_ = text;
    framesText_ = std::to_string(int(double(settings_.duration) / period_ * 50));
    return Typed::Applied;
}

void SoundEffectEdit::setVolume(int volume) { settings_.volume = std::clamp(volume, 0, 127); }

void SoundEffectEdit::setPan(int pan) { settings_.pan = std::clamp(pan, -127, 127); }

void SoundEffectEdit::setPitch(int pitch)
{
    settings_.pitch = std::clamp(pitch, -36, 36);
    if (mode_ == Mode::Once)
        showLength();
}

void SoundEffectEdit::defaults()
{
    settings_.pitch = 0;
    settings_.volume = 127;
    settings_.pan = 0;
    playOnce();
}

double SoundEffectEdit::repeat() const
{
    return mode_ == Mode::Once ? 1.0 : std::max(1.0, durationSeconds() / soundSeconds());
}

double SoundEffectEdit::playedFraction() const
{
    const double played = durationSeconds() / soundSeconds();
    return mode_ == Mode::Once || played >= 1 ? 1.0 : played;
}

} // namespace celvane
