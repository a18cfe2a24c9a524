#include "import/SpriteMode.h"

#include <array>

namespace celvane {

namespace {

// One byte per screen mode: bits 0-1 log2 of the bits per pixel, bits 2-3 and 4-5 the shifts
// of the horizontal and vertical resolution (180 dpi >> shift).
constexpr uint8_t packed(int log2Bits, int xShift, int yShift) { return uint8_t(log2Bits | xShift << 2 | yShift << 4); }

constexpr std::array<uint8_t, 128> kModes = [] {
    struct Known {
        int mode, bits, x, y;
    };
    constexpr Known known[] = {
        {0, 1, 90, 45},  {1, 2, 45, 45},  {2, 4, 22, 45},  {3, 1, 90, 45},  {4, 1, 45, 45},  {5, 2, 22, 45},
        {6, 1, 45, 45},  {7, 1, 45, 45},  {8, 2, 90, 45},  {9, 4, 45, 45},  {10, 8, 22, 45}, {11, 2, 90, 45},
        {12, 4, 90, 45}, {13, 8, 45, 45}, {14, 4, 90, 45}, {15, 8, 90, 45}, {16, 4, 90, 45}, {17, 4, 90, 45},
        {18, 1, 90, 90}, {19, 2, 90, 90}, {20, 4, 90, 90}, {21, 8, 90, 90}, {22, 4, 90, 45}, {23, 1, 90, 90},
        {24, 8, 90, 45}, {25, 1, 90, 90}, {26, 2, 90, 90}, {27, 4, 90, 90}, {28, 8, 90, 90}, {29, 1, 90, 90},
        {30, 2, 90, 90}, {31, 4, 90, 90}, {32, 8, 90, 90}, {33, 1, 90, 45}, {34, 2, 90, 45}, {35, 4, 90, 45},
        {36, 8, 90, 45}, {37, 1, 90, 45}, {38, 2, 90, 45}, {39, 4, 90, 45}, {40, 8, 90, 45}, {41, 1, 90, 45},
        {42, 2, 90, 45}, {43, 4, 90, 45}, {44, 1, 90, 45}, {45, 2, 90, 45}, {46, 4, 90, 45}, {47, 8, 45, 45},
        {48, 4, 45, 90}, {49, 8, 45, 90}, {64, 1, 45, 22}, {65, 2, 45, 22}, {66, 4, 45, 22}, {67, 8, 45, 22},
        {68, 1, 45, 45}, {69, 2, 45, 45}, {70, 4, 45, 45}, {71, 8, 45, 45}, {120, 8, 45, 45},
    };
    auto log2 = [](int v) { return v == 8 ? 3 : v == 4 ? 2 : v == 2 ? 1 : 0; };
    auto shift = [](int dpi) { return dpi == 90 ? 1 : dpi == 45 ? 2 : 3; };
    std::array<uint8_t, 128> table{};
    table.fill(packed(0, 1, 1)); // modes nobody defined show as 1 bit at 90 x 90 dpi
    for (int mode = 72; mode <= 87; ++mode)
        table[size_t(mode)] = packed(mode % 4, 1, 2);
    for (const Known& k : known)
        table[size_t(k.mode)] = packed(log2(k.bits), shift(k.x), shift(k.y));
    return table;
}();

constexpr uint32_t kLastModeSelector = 0x7FFFFFF;

} // namespace

std::optional<SpriteMode> decodeModeWord(uint32_t word)
{
    SpriteMode mode;
    if (word < kModes.size()) {
        const uint8_t m = kModes[word];
        mode.bitsPerPixel = 1 << (m & 3);
        mode.xHalfDpi = 360 >> ((m >> 2) & 3);
        mode.yHalfDpi = 360 >> ((m >> 4) & 3);
        return mode;
    }
    if (word <= kLastModeSelector)
        return std::nullopt; // a pointer to a mode selector, meaningless in a file
    // Bit 31 marks an 8-bit opacity mask; bits 27-30 then hold the type.
    mode.alphaMask = (word >> 31) != 0;
    const uint32_t type = (word >> 27) & 0xF;
    if (type < 1 || type > 6)
        return std::nullopt;
    mode.newFormat = true;
    mode.bitsPerPixel = 1 << (type - 1);
    mode.xHalfDpi = 2 * int((word >> 1) & 0x1FFF);
    mode.yHalfDpi = 2 * int((word >> 14) & 0x1FFF);
    return mode;
}

} // namespace celvane
