#include "sound/Waveform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sound/Sound.h"

namespace celvane {

namespace {

constexpr double kMostRepeats = 10;

// How loud sample frame `index` is, 0 to 1: a mono sample counts on both sides.
double levelOf(const PcmSamples& pcm, size_t index)
{
    int16_t left = 0, right = 0;
    pcm.frame(index, left, right);
    return (std::abs(int(left)) + std::abs(int(right))) / 131072.0;
}

} // namespace

std::vector<WaveColumn> waveformColumns(const Sound& sound, int x0, int x1, int height, double repeat)
{
    std::vector<WaveColumn> columns;
    // What a sound in another encoding decodes to is drawn; one that does not decode has no picture.
    const PcmSamples pcm = sound.pcm();
    const int samples = int(std::min<size_t>(size_t(std::max(sound.sampleCount(), 0)), pcm.frames()));
    if (repeat > kMostRepeats || samples <= 0 || repeat <= 0)
        return columns;
    // Hot loop: one pass over every sample played (up to ten passes of the sound).
    const double perSample = (x1 - x0) / (samples * repeat);
    const double total = repeat * samples;
    double fraction = 0;
    int reach = 0, x = x0;
    for (double k = 0; k < total; ++k) {
        reach = std::max(reach, int(height * levelOf(pcm, size_t(std::fmod(k, samples)))));
        fraction += perSample;
        while (fraction > 1) {
            fraction -= 1;
            if (reach > 0)
                columns.push_back({x, reach});
            reach = 0;
            ++x;
        }
    }
    return columns;
}

int sampleAtColumn(int x, int width, int samples)
{
    if (samples <= 0 || width <= 6)
        return 0;
    return std::clamp(int(double(x - 3) / (width - 6) * samples), 0, samples - 1);
}

} // namespace celvane
