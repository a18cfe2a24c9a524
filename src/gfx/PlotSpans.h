#pragma once
// The inner loop of plots between sprites: one horizontal run of destination pixels, each
// sampling the source pixel its centre falls on. The loop is compiled once for each
// combination of source depth, destination depth, transparency mode and colour stage, so that
// no pixel pays for a test of any of them.

#include <cstddef>
#include <cstdint>

namespace celvane {

class NearestColours;

enum class PlotMode : uint8_t {
    Opaque,  // every pixel written
    SkipKey, // pixels of the transparent colour left alone
    OnlyKey, // only pixels of the transparent colour written (colour replacement)
    Mask,    // pixels whose mask bit is 0 left alone
};

enum class ColourStage : uint8_t {
    Copy,    // the source value as it is
    Single,  // one value for every pixel
    Table,   // through a table indexed by the source value
    Convert, // direct colour to another depth: the RGB value through NearestColours
};

// floor(n / d) along one axis of the source, with the fraction kept exactly as a remainder
// (0 <= remainder < denominator), so that long runs do not drift.
struct SourceStep {
    int64_t position = 0;
    int64_t remainder = 0;
    int64_t step = 0;          // whole part of the advance per destination pixel
    int64_t stepRemainder = 0; // 0 <= stepRemainder < denominator
    int64_t denominator = 1;

    void advance()
    {
        position += step;
        remainder += stepRemainder;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++position;
        }
    }
    bool still() const { return step == 0 && stepRemainder == 0; }
};

// What stays the same for every run of one plot.
struct SpanSource {
    const uint8_t* topRow = nullptr; // source row 0
    ptrdiff_t rowStep = 0;           // bytes from one source row to the next one down
    const uint8_t* maskTopRow = nullptr;
    ptrdiff_t maskRowStep = 0;
    uint32_t key = 0;    // the transparent colour as a source pixel value
    uint32_t single = 0; // the single colour as a destination pixel value
    const uint32_t* table = nullptr;
    NearestColours* nearest = nullptr;
    // Opaque plots from 1 or 4 bits onto 8 bits or more: for each source byte value, the
    // destination bytes of its pixels, one after the other.
    const uint8_t* expanded = nullptr;
};

// Destination pixels x0 ... x1 - 1 of one row; u and v give the source pixel of x0.
struct Span {
    uint8_t* row = nullptr;
    int x0 = 0;
    int x1 = 0;
    SourceStep u;
    SourceStep v;
};

using SpanLoop = void (*)(const SpanSource&, const Span&);

// Null for a combination no plot needs (a table or conversion where none applies).
SpanLoop spanLoopFor(int sourceBits, int destinationBits, PlotMode mode, ColourStage stage);

} // namespace celvane
