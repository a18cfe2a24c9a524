#pragma once
// The marked run as the playback keys see it: where it starts and ends, and making it reach a
// frame.

namespace celvane {

class Film;

namespace FrameMarks {

// The first marked frame, or -1.
int firstMarked(const Film& film);
// The last frame of the first marked run, or -1 when nothing is marked or the run reaches the
// last frame (there is no unmarked frame after it).
int endOfFirstRun(const Film& film);
// Makes the first marked run end at `frame`, coming from frame `from`: the run's last frame
// moves when `frame` lies past the run's middle, its first frame when before it, and at the
// middle the end on the side `from` lies (so a step back undoes a step forward). With nothing
// marked only `frame` is marked.
void reachRun(Film& film, int frame, int from);

} // namespace FrameMarks
} // namespace celvane
