#pragma once
// The twelve formats a recording device may offer, one bit each (lowest first: 11.025, 22.05 and
// 44.1 kHz, each as 8-bit mono, 8-bit stereo, 16-bit mono, 16-bit stereo), and what a recording
// in one of them needs: the PCM layout, the text the Quality list shows, and the buffer size.

#include <cstddef>
#include <cstdint>
#include <string>

namespace celvane {

struct RecordingFormat {
    static constexpr int kBits = 12;
    static constexpr uint32_t kSixteenBit = 0xCCC, kStereo = 0xAAA;

    int code = 0; // the sound's play code: bit 0 stereo, bit 1 16-bit
    int rate = 0;
    int channels = 1;
    int bitsPerSample = 8;
    int blockAlign = 1;
    int bytesPerSecond = 0;

    static RecordingFormat ofBit(uint32_t formatBit);
    // Bytes for `seconds` of sound: cut to whole bytes, then raised to whole sample frames.
    size_t bufferBytes(double seconds) const;
};

// "22.05 kHz, 16 bit, mono" for one bit of a recording device's format mask.
std::string describeRecordingFormat(uint32_t formatBit);

} // namespace celvane
