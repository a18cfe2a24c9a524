// Palettes of RISC OS sprites: their defaults, their way of making 256 tints from 16, and
// palettes stored with 4-bit channels.

#include <array>

#include "base/Errors.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"

namespace celvane {

namespace {

constexpr uint32_t word(int red, int green, int blue) { return rgbToColourWord(rgb(red, green, blue)); }

constexpr std::array<uint32_t, 2> kRiscOs2 = {word(255, 255, 255), word(0, 0, 0)};
constexpr std::array<uint32_t, 16> kRiscOs16 = {
    word(255, 255, 255), word(221, 221, 221), word(187, 187, 187), word(153, 153, 153),
    word(119, 119, 119), word(85, 85, 85),    word(51, 51, 51),    word(0, 0, 0),
    word(0, 68, 153),    word(238, 238, 0),   word(0, 204, 0),     word(221, 0, 0),
    word(238, 238, 187), word(85, 136, 0),    word(255, 187, 0),   word(0, 187, 255),
};
// The 16 base tints that expandTints turns into the 256-colour default.
constexpr std::array<uint32_t, 16> kRiscOsTints = {
    word(0, 0, 0),    word(17, 17, 17),  word(34, 34, 34),   word(51, 51, 51),
    word(68, 0, 0),   word(85, 17, 17),  word(102, 34, 34),  word(119, 51, 51),
    word(0, 0, 68),   word(17, 17, 85),  word(34, 34, 102),  word(51, 51, 119),
    word(68, 0, 68),  word(85, 17, 85),  word(102, 34, 102), word(119, 51, 119),
};

std::vector<uint32_t> riscOsDefault(int depth)
{
    switch (depth) {
    case 1: return {kRiscOs2.begin(), kRiscOs2.end()};
    case 4: return {kRiscOs16.begin(), kRiscOs16.end()};
    case 8: return {kRiscOsTints.begin(), kRiscOsTints.end()};
    default: throw NotSupportedError("no RISC OS default palette for " + std::to_string(depth) + " bits");
    }
}

// The low bytes of stored palette words name logical indices when they permute 0 ... n - 1
// out of order; the logical-to-stored map they give, or an empty one.
std::vector<uint8_t> permutationOf(const std::vector<uint32_t>& words)
{
    const size_t n = words.size();
    std::vector<uint8_t> map(n);
    std::vector<bool> seen(n, false);
    bool moved = false;
    for (size_t stored = 0; stored < n; ++stored) {
        const size_t logical = size_t(indexOfWord(words[stored]));
        if (logical >= n || seen[logical])
            return {};
        seen[logical] = true;
        map[logical] = uint8_t(stored);
        moved = moved || logical != stored;
    }
    return moved ? map : std::vector<uint8_t>{};
}

} // namespace

void Palette::setFromRiscOs(ByteSpan words, int depth, bool expand, int extraWords)
{
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8)
        throw NotSupportedError("RISC OS palette of " + std::to_string(depth) + " bits");
    if (extraWords < 0)
        throw NotSupportedError("negative RISC OS palette stride");
    std::vector<uint32_t> read;
    if (words.empty()) {
        read = riscOsDefault(depth);
        expand = depth == 8;
        extraWords = 0;
    } else {
        const ByteReader reader(words);
        const size_t stride = 4 * (size_t(extraWords) + 1);
        read.resize(expand ? 16 : size_t(1) << depth);
        for (size_t i = 0; i < read.size(); ++i)
            read[i] = reader.u32At(stride * i);
    }
    const std::vector<uint8_t> map = expand || extraWords ? std::vector<uint8_t>{} : permutationOf(read);

    entries_.clear();
    for (uint32_t w : read)
        entries_.push_back(w & 0xFFFFFF00u);
    map_.clear();
    inverse_.clear();
    reserved_ = 0;
    if (expand)
        expandTints();
    if (!map.empty())
        setIndexMap(map);
    if (extraWords)
        widenNibbles();
    touch();
}

void Palette::expandTints()
{
    std::array<uint32_t, 16> base{};
    for (int i = 0; i < 16; ++i)
        base[size_t(i)] = entry(i);
    entries_.resize(256);
    for (uint32_t i = 0; i < 256; ++i) {
        // Index bits 4-7 set the top bit of red, two high bits of green and the top bit of blue.
        const uint32_t x = ((i & 0x10) << 7) | ((i & 0x60) << 13) | ((i & 0x80) << 20);
        entries_[i] = (base[i & 15] & 0x773377FFu) | x | (x << 4);
    }
    map_.clear();
    inverse_.clear();
    touch();
}

void Palette::widenNibbles()
{
    for (uint32_t e : entries_)
        if (e & 0x0F0F0F00u)
            return;
    for (uint32_t& e : entries_)
        e |= (e >> 4) & 0x0F0F0F00u;
    touch();
}

} // namespace celvane
