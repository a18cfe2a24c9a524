#pragma once
// The film's speed and motion as the commands, dialogs and slider change them.

namespace celvane {

class Film;

namespace FilmSpeed {

// Frames per second as the speed dialog shows it, to one decimal: 80 ms is 12.5.
double framesPerSecond(int delayMs);
// The delay for a number of frames per second (1 ... 100), rounded: 3 gives 333 ms.
int delayForFramesPerSecond(double fps);
// The slider runs 0 ... 100 on a logarithmic scale: 1000 ms at 0, 100 ms at 50, 10 ms at 100.
int delayAtSliderPosition(int position);
// Where a delay shows on the slider, within 0 ... 100.
int sliderPositionOfDelay(int delayMs);

// These mark the film modified; telling the windows is the caller's.
void setDelay(Film& film, int delayMs);
void setMotion(Film& film, int motion);

} // namespace FilmSpeed
} // namespace celvane
