#pragma once
// The picture of a sound in the effect dialogs: for each pixel column, how far the loudest of its
// samples reaches from the centre line, with the sound repeated across the width as many times
// as it plays. Also the mapping from a column back to a sample, for choosing part of a recording.

#include <vector>

namespace celvane {

class Sound;

struct WaveColumn {
    int x;
    int reach; // pixels above the centre line; the column also reaches reach - 1 below it
};

// Columns from x0 towards x1 for a view `height` pixels high; nothing for a repeat above 10 or
// an empty sound. Quiet columns are left out.
std::vector<WaveColumn> waveformColumns(const Sound& sound, int x0, int x1, int height, double repeat);

// The sample under column x of a view `width` pixels wide, whose picture is inset by 3 pixels at
// each side; always a sample of the sound (0 for an empty one).
int sampleAtColumn(int x, int width, int samples);

} // namespace celvane
