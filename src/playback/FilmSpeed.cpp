#include "playback/FilmSpeed.h"

#include <algorithm>
#include <cmath>

#include "film/Film.h"

namespace celvane::FilmSpeed {

double framesPerSecond(int delayMs) { return std::round(10000.0 / std::max(delayMs, 1)) / 10; }

int delayForFramesPerSecond(double fps) { return int(std::lround(1000.0 / std::clamp(fps, 1.0, 100.0))); }

int delayAtSliderPosition(int position)
{
    // A small bias keeps exact powers of ten (50 gives 100 ms) from being cut to one below.
    return int(std::pow(10.0, 3.0 - std::clamp(position, 0, 100) / 50.0) + 1e-9);
}

int sliderPositionOfDelay(int delayMs)
{
    const double p = 100.0 - 50.0 * std::log10(std::max(delayMs, 1) / 10.0);
    return std::clamp(int(p + 1e-9), 0, 100);
}

namespace {
void change(Film& film, int delayMs, int motion)
{
    GraphicSummary summary;
    film.getSummary(summary);
    summary.period = delayMs;
    summary.motion = motion;
    film.setSummary(summary);
}
} // namespace

void setDelay(Film& film, int delayMs) { change(film, std::max(delayMs, 1), film.motion()); }

void setMotion(Film& film, int motion) { change(film, film.period(), motion); }

} // namespace celvane::FilmSpeed
