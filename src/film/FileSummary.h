#pragma once
// What the File Summary shows of a film: size, colours, frames, and the bytes it takes as it
// would be saved now.

#include <cstdint>
#include <string>

namespace celvane {

class Film;

struct FileSummary {
    int width = 0;
    int height = 0;
    std::string colours;
    int frames = 0;
    bool compressed = false;
    int64_t fileSizeK = 0;
    int compressedPercent = 0;

    // Stores the current frame, as saving would.
    static FileSummary of(Film& film);
    // The colours text for a depth: "2", "16", "256", "Thousands", "Millions", else "-".
    static std::string coloursOf(int bitsPerPixel);
    // Whole kilobytes, rounded up.
    static int64_t kilobytes(uint64_t bytes);
    // The stored frames against their raw pixels, in per cent, rounded up from the hundredth.
    static int percent(uint64_t stored, uint64_t raw);
};

} // namespace celvane
