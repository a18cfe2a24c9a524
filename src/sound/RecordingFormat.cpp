#include "sound/RecordingFormat.h"

#include <cmath>
#include <cstdio>

namespace celvane {

RecordingFormat RecordingFormat::ofBit(uint32_t bit)
{
    RecordingFormat f;
    const bool wide = (bit & kSixteenBit) != 0, stereo = (bit & kStereo) != 0;
    f.code = (wide ? 2 : 0) + (stereo ? 1 : 0);
    f.bitsPerSample = wide ? 16 : 8;
    f.channels = stereo ? 2 : 1;
    f.rate = bit & 0x00F ? 11025 : bit & 0x0F0 ? 22050 : 44100;
    f.blockAlign = f.channels * f.bitsPerSample / 8;
    f.bytesPerSecond = f.rate * f.blockAlign;
    return f;
}

size_t RecordingFormat::bufferBytes(double seconds) const
{
    if (!(seconds > 0))
        return 0;
    const size_t bytes = size_t(std::trunc(bytesPerSecond * seconds));
    const size_t align = size_t(blockAlign);
    return (bytes + align - 1) / align * align;
}

std::string describeRecordingFormat(uint32_t bit)
{
    char rate[16] = "?";
    if (bit & 0x00F)
        std::snprintf(rate, sizeof rate, "%.3f", 11.025);
    else if (bit & 0x0F0)
        std::snprintf(rate, sizeof rate, "%.2f", 22.05);
    else if (bit & 0xF00)
        std::snprintf(rate, sizeof rate, "%.1f", 44.1);
    const char* size = bit & 0x333 ? "8 bit" : bit & RecordingFormat::kSixteenBit ? "16 bit" : "unknown";
    const char* channels = bit & RecordingFormat::kStereo ? "stereo" : bit & 0x555 ? "mono" : "unknown";
    return std::string(rate) + " kHz, " + size + ", " + channels;
}

} // namespace celvane
