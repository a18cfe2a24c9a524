#include "sound/Waveform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sound/Sound.h"

namespace celvane {

namespace {

constexpr double kMostRepeats = 10;

// How loud sample frame `index` is, 0 to 1; false for play codes it cannot tell.
bool levelOf(const Sound& sound, int index, double& level)
{
    if (sound.playCode() > Sound::Pcm16Stereo)
        return false;
    const uint8_t* p = sound.playData().data() + size_t(index) * frameBytesOf(sound.playCode());
    const auto s16 = [p](int k) { return std::abs(int(int16_t(uint16_t(p[2 * k] | p[2 * k + 1] << 8)))); };
    switch (sound.playCode()) {
    case Sound::Pcm8Mono: level = std::abs(p[0] - 128) / 256.0; return true;
    case Sound::Pcm8Stereo: level = (std::abs(p[0] - 128) + std::abs(p[1] - 128)) / 512.0; return true;
    case Sound::Pcm16Mono: level = s16(0) / 65536.0; return true;
    case Sound::Pcm16Stereo: level = (s16(0) + s16(1)) / 131072.0; return true;
    }
    return false;
}

} // namespace

std::vector<WaveColumn> waveformColumns(const Sound& sound, int x0, int x1, int height, double repeat)
{
    std::vector<WaveColumn> columns;
    const int code = sound.playCode();
    const int samples = code <= Sound::Pcm16Stereo
                            ? int(std::min<size_t>(size_t(sound.sampleCount()), sound.playData().size() / frameBytesOf(code)))
                            : sound.sampleCount();
    if (repeat > kMostRepeats || samples <= 0 || repeat <= 0)
        return columns;
    // Hot loop: one pass over every sample played (up to ten passes of the sound).
    const double perSample = (x1 - x0) / (samples * repeat);
    const double total = repeat * samples;
    double fraction = 0, level = 0;
    int reach = 0, x = x0;
    for (double k = 0; k < total; ++k) {
        levelOf(sound, int(std::fmod(k, samples)), level);
        reach = std::max(reach, int(height * level));
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
