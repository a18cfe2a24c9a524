#include "gfx/PlotSpans.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "base/ByteIO.h"
#include "gfx/PlotColour.h"

namespace celvane {

namespace {

constexpr std::array<int, 5> kDepths = {1, 4, 8, 16, 32};

constexpr int depthIndex(int bits)
{
    return bits == 1 ? 0 : bits == 4 ? 1 : bits == 8 ? 2 : bits == 16 ? 3 : 4;
}

template <int Bits>
uint32_t sourcePixel(const uint8_t* row, int64_t x)
{
    if constexpr (Bits == 1)
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    else if constexpr (Bits == 4)
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    else if constexpr (Bits == 8)
        return row[x];
    else if constexpr (Bits == 16)
        return loadLE16(row + 2 * x);
    else
        return loadLE32(row + 4 * x);
}

template <int Bits>
void storePixel(uint8_t* row, int x, uint32_t value)
{
    if constexpr (Bits == 8)
        row[x] = uint8_t(value);
    else if constexpr (Bits == 16)
        storeLE16(row + 2 * size_t(x), uint16_t(value));
    else
        storeLE32(row + 4 * size_t(x), value);
}

// Bit position of pixel x within its little-endian 32-bit word; the leftmost pixel of a byte
// sits in its most significant bits.
template <int Bits>
int shiftInWord(int x)
{
    if constexpr (Bits == 1)
        return ((x >> 3) & 3) * 8 + 7 - (x & 7);
    else
        return ((x >> 1) & 3) * 8 + ((x & 1) ? 0 : 4);
}

template <int SB, ColourStage C>
uint32_t colourOf(const SpanSource& s, uint32_t pixel)
{
    if constexpr (C == ColourStage::Copy)
        return pixel;
    else if constexpr (C == ColourStage::Single)
        return s.single;
    else if constexpr (C == ColourStage::Table)
        return s.table[SB == 16 ? pixel & 0x7FFF : pixel];
    else if constexpr (SB == 16)
        return s.nearest->valueFor(s.table[pixel & 0x7FFF]);
    else
        return s.nearest->valueFor(pixel & 0xFFFFFF);
}

// Whether source pixel `pixel` at column x is written, and with what.
template <int SB, PlotMode M, ColourStage C>
bool decide(const SpanSource& s, uint32_t pixel, const uint8_t* maskRow, int64_t x, uint32_t& value)
{
    value = colourOf<SB, C>(s, pixel);
    if constexpr (M == PlotMode::Mask)
        return (maskRow[x >> 3] >> (7 - (x & 7))) & 1;
    else if constexpr (M == PlotMode::SkipKey)
        return pixel != s.key;
    else if constexpr (M == PlotMode::OnlyKey)
        return pixel == s.key;
    else
        return true;
}

// Still: the source row does not change along the run (no rotation). Unit: the source column
// moves on by exactly one per pixel (unscaled), so it needs no stepping.
// Kept in one piece although long: it is the plotter's innermost loop, and its steps and row
// pointers stay in registers only while everything that moves them is in one function.
template <int SB, int DB, PlotMode M, ColourStage C, bool Still, bool Unit>
void run(const SpanSource& source, const Span& span)
{
    // Local copies: stores through byte pointers would otherwise make the compiler reload
    // every field on every pixel.
    const SpanSource s = source;
    uint8_t* const out = span.row;
    const int x1 = span.x1;
    SourceStep u = span.u;
    SourceStep v = span.v;
    const int64_t unitStart = u.position - span.x0;
    const uint8_t* stillRow = s.topRow + v.position * s.rowStep;
    const uint8_t* stillMaskRow = M == PlotMode::Mask ? s.maskTopRow + v.position * s.maskRowStep : nullptr;

    auto pixelAt = [&](int x, uint32_t& value) {
        const uint8_t* row = stillRow;
        const uint8_t* maskRow = stillMaskRow;
        if constexpr (!Still) {
            row = s.topRow + v.position * s.rowStep;
            if constexpr (M == PlotMode::Mask)
                maskRow = s.maskTopRow + v.position * s.maskRowStep;
            v.advance();
        }
        int64_t column = unitStart + x;
        if constexpr (!Unit) {
            column = u.position;
            u.advance();
        }
        return decide<SB, M, C>(s, sourcePixel<SB>(row, column), maskRow, column, value);
    };

    if constexpr (DB >= 8 && SB < 8 && Unit) {
        // Unscaled from packed pixels: a source byte at a time, its pixels at fixed shifts.
        constexpr int perByte = 8 / SB;
        constexpr uint32_t sourceMask = (1u << SB) - 1;
        auto one = [&](int x) {
            uint32_t value;
            if (pixelAt(x, value))
                storePixel<DB>(out, x, value);
        };
        int x = span.x0;
        for (; x < x1 && (unitStart + x) % perByte != 0; ++x)
            one(x);
        for (; x + perByte <= x1; x += perByte) {
            const int64_t column = unitStart + x;
            const uint32_t byte = stillRow[column / perByte];
            if constexpr (M == PlotMode::Opaque) {
                constexpr size_t entry = size_t(perByte) * (DB / 8);
                std::memcpy(out + size_t(x) * (DB / 8), s.expanded + byte * entry, entry);
            } else {
                for (int k = 0; k < perByte; ++k) {
                    uint32_t value;
                    if (decide<SB, M, C>(s, (byte >> (8 - SB * (k + 1))) & sourceMask, stillMaskRow, column + k, value))
                        storePixel<DB>(out, x + k, value);
                }
            }
        }
        for (; x < x1; ++x)
            one(x);
    } else if constexpr (DB >= 8) {
        for (int x = span.x0; x < x1; ++x) {
            uint32_t value;
            if (pixelAt(x, value))
                storePixel<DB>(out, x, value);
        }
    } else {
        // Whole words, merged under a mask of the pixels written, so that the others keep
        // their values.
        constexpr int perWord = 32 / DB;
        constexpr uint32_t pixelMask = (1u << DB) - 1;
        int x = span.x0;
        while (x < x1) {
            uint8_t* word = out + size_t(x / perWord) * 4;
            const int end = std::min(x1, (x / perWord + 1) * perWord);
            uint32_t bits = 0;
            uint32_t written = 0;
            for (; x < end; ++x) {
                uint32_t value;
                const uint32_t mask = pixelAt(x, value) ? pixelMask << shiftInWord<DB>(x) : 0;
                bits |= (value << shiftInWord<DB>(x)) & mask;
                written |= mask;
            }
            storeLE32(word, (loadLE32(word) & ~written) | bits);
        }
    }
}

template <int SB, int DB, PlotMode M, ColourStage C>
void spanLoop(const SpanSource& s, const Span& span)
{
    if (!span.v.still())
        run<SB, DB, M, C, false, false>(s, span);
    else if (span.u.step == 1 && span.u.stepRemainder == 0)
        run<SB, DB, M, C, true, true>(s, span);
    else
        run<SB, DB, M, C, true, false>(s, span);
}

template <int SB, int DB, ColourStage C>
constexpr bool needed()
{
    constexpr bool paletteSource = SB <= 8;
    switch (C) {
    case ColourStage::Copy:
        return paletteSource || SB == DB;
    case ColourStage::Single:
        return true;
    case ColourStage::Table:
        return paletteSource || (SB == 16 && DB == 32);
    case ColourStage::Convert:
        return !paletteSource && SB != DB && !(SB == 16 && DB == 32);
    }
    return false;
}

template <int SB, int DB, PlotMode M, ColourStage C>
constexpr SpanLoop entry()
{
    if constexpr (needed<SB, DB, C>())
        return &spanLoop<SB, DB, M, C>;
    else
        return nullptr;
}

// Indexed by ((source depth × 5 + destination depth) × 4 + mode) × 4 + stage.
template <size_t... I>
constexpr std::array<SpanLoop, sizeof...(I)> makeLoops(std::index_sequence<I...>)
{
    return {entry<kDepths[I / 80], kDepths[I / 16 % 5], PlotMode(I / 4 % 4), ColourStage(I % 4)>()...};
}

constexpr auto kLoops = makeLoops(std::make_index_sequence<400>());

} // namespace

SpanLoop spanLoopFor(int sourceBits, int destinationBits, PlotMode mode, ColourStage stage)
{
    const size_t index = ((size_t(depthIndex(sourceBits)) * 5 + size_t(depthIndex(destinationBits))) * 4 + size_t(mode)) * 4
                         + size_t(stage);
    return kLoops[index];
}

} // namespace celvane
