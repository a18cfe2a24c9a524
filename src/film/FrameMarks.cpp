#include "film/FrameMarks.h"

#include "film/Film.h"

namespace celvane::FrameMarks {

namespace {
int firstWithMark(const Film& film, int from, bool marked)
{
    for (int i = from; i < film.frameCount(); ++i)
        if (film.isFrameSelected(i) == marked)
            return i;
    return -1;
}

void setRange(Film& film, int a, int b, bool on)
{
    for (int i = a; i <= b; ++i)
        film.setFrameSelected(i, on);
}
} // namespace

int firstMarked(const Film& film) { return firstWithMark(film, 0, true); }

int endOfFirstRun(const Film& film)
{
    const int first = firstMarked(film);
    if (first < 0)
        return -1;
    const int after = firstWithMark(film, first, false);
    return after < 0 ? -1 : after - 1;
}

void reachRun(Film& film, int frame, int from)
{
    const int s = firstMarked(film);
    if (s < 0) {
        film.setFrameSelected(frame, true);
        return;
    }
    const int after = firstWithMark(film, s, false);
    const int e = after < 0 ? film.frameCount() - 1 : after - 1;
    const int middle = (s + e) / 2;
    if (middle < frame || (middle == frame && from > middle)) {
        setRange(film, s, frame, true);
        setRange(film, frame + 1, e, false);
    } else {
        setRange(film, frame, e, true);
        setRange(film, s, frame - 1, false);
    }
}

} // namespace celvane::FrameMarks
