#include "sound/SoundCodecs.h"

#include <algorithm>

namespace celvane {

namespace {

std::array<int16_t, 256> makeLogarithmicTable()
{
    // Sixteen steps a segment; each segment's steps are twice as wide as the last one's.
    std::array<int, 128> positive{};
    for (int m = 0; m < 128; ++m) {
        const int segment = m / 16, step = m % 16;
        if (segment == 0) {
            positive[size_t(m)] = 3 + 8 * step;
            continue;
        }
        const int unit = 1 << (segment - 1);
        const int start = positive[size_t(16 * segment - 1)] + 8 * unit;
        positive[size_t(m)] = step == 0 ? start : start + 12 * unit + 16 * unit * (step - 1);
    }
    positive[127] = 31683;
    std::array<int16_t, 256> table{};
    for (int m = 0; m < 128; ++m) {
        table[size_t(2 * m)] = int16_t(positive[size_t(m)]);
        table[size_t(2 * m + 1)] = int16_t(6 - positive[size_t(m)]);
    }
    table[1] = -1;
    table[255] = -31681;
    return table;
}

constexpr std::array<int, 89> kSteps = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr std::array<int, 8> kIndexMoves = {-1, -1, -1, -1, 2, 4, 6, 8};

} // namespace

const std::array<int16_t, 256>& logarithmicTable()
{
    static const std::array<int16_t, 256> table = makeLogarithmicTable();
    return table;
}

void decodeLogarithmic(ByteSpan data, int16_t* out, size_t samples)
{
    const auto& table = logarithmicTable();
    const size_t have = std::min(samples, data.size());
    for (size_t i = 0; i < have; ++i)
        out[i] = table[data[i]];
    std::fill(out + have, out + samples, int16_t(0));
}

namespace {

// For each step index and code: the signed difference it adds and the step index after it, so
// that a sample costs two lookups, an add and a clamp.
struct AdpcmMove {
    int32_t difference;
    int32_t next;
};
using AdpcmTable = std::array<std::array<AdpcmMove, 16>, 89>;

AdpcmTable makeAdpcmTable()
{
    AdpcmTable table{};
    for (int index = 0; index < 89; ++index)
        for (int code = 0; code < 16; ++code) {
            const int step = kSteps[size_t(index)];
            int difference = step >> 3;
            if (code & 4)
                difference += step;
            if (code & 2)
                difference += step >> 1;
            if (code & 1)
                difference += step >> 2;
            table[size_t(index)][size_t(code)] = {code & 8 ? -difference : difference,
                                                  std::clamp(index + kIndexMoves[size_t(code & 7)], 0, 88)};
        }
    return table;
}

} // namespace

void decodeImaAdpcm(ByteSpan data, int16_t* out, size_t samples)
{
    static const AdpcmTable table = makeAdpcmTable();
    int32_t predictor = 0, index = 0;
    auto decode = [&](int code) {
        const AdpcmMove& move = table[size_t(index)][size_t(code)];
        predictor = std::clamp(predictor + move.difference, -32768, 32767);
        index = move.next;
        return int16_t(predictor);
    };
    // Whole bytes first, high nibble first; then an odd last sample, then silence for missing bytes.
    const size_t pairs = std::min(samples / 2, data.size());
    for (size_t i = 0; i < pairs; ++i) {
        const uint8_t byte = data[i];
        out[2 * i] = decode(byte >> 4);
        out[2 * i + 1] = decode(byte & 0x0F);
    }
    size_t done = 2 * pairs;
    if (done < samples && pairs < data.size())
        out[done++] = decode(data[pairs] >> 4);
    for (; done < samples; ++done)
        out[done] = decode(0);
}

} // namespace celvane
