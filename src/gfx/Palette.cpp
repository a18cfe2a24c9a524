#include "gfx/Palette.h"

#include <array>
#include <atomic>
#include <cmath>
#include <new>

#include "base/Errors.h"
#include "gfx/Colour.h"
#include "gfx/PaletteDisplay.h"

namespace celvane {

namespace {

std::atomic<uint32_t> stampCounter{0};

// The 16-colour default (values R, G, B).
constexpr std::array<uint32_t, 16> kDefault4 = {
    rgb(0, 0, 0), rgb(128, 0, 0), rgb(0, 128, 0), rgb(128, 128, 0),
    rgb(0, 0, 128), rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(255, 0, 0), rgb(0, 255, 0), rgb(255, 255, 0),
    rgb(0, 0, 255), rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
};

// Squared difference of one channel.
int sq(int a, int b) { return (a - b) * (a - b); }

} // namespace

uint32_t nextChangeStamp()
{
    uint32_t stamp = stampCounter.fetch_add(1);
    if (stamp == 0) // after wrapping round, too
        stamp = stampCounter.fetch_add(1);
    return stamp;
}

Palette::Palette() : stamp_(nextChangeStamp()) {}

PaletteRef Palette::make()
{
    try {
        // The handle deletes through this class, which alone may.
        return PaletteRef(std::shared_ptr<Palette>(new Palette, [](Palette* p) { delete p; }));
    } catch (const std::bad_alloc&) {
        throw MemoryError("no memory for a palette");
    }
}

void Palette::setCount(int n)
{
    if (n < 0 || n > kMaxEntries)
        throw NotSupportedError("palette of " + std::to_string(n) + " entries");
    if (n == count())
        return;
    entries_.resize(size_t(n), 0);
    reserved_ = 0;
    map_.clear();
    inverse_.clear();
    touch();
}

void Palette::clear()
{
    entries_.clear();
    reserved_ = 0;
    map_.clear();
    inverse_.clear();
    touch();
}

uint32_t Palette::entry(int i) const
{
    return i >= 0 && i < count() ? entries_[size_t(i)] : 0;
}

void Palette::setEntry(int i, uint32_t colourWord)
{
    if (i < 0 || i >= count())
        return;
    entries_[size_t(i)] = colourWord & 0xFFFFFF00u;
    touch();
}

void Palette::setEntryRgb(int i, uint32_t rgbValue)
{
    setEntry(storedIndex(i), rgbToColourWord(rgbValue));
}

uint32_t Palette::colourOfIndex(int i) const
{
    return rgbOfWord(entry(storedIndex(i))) | 0x02000000u;
}

void Palette::setDefault(int depth)
{
    map_.clear();
    inverse_.clear();
    reserved_ = 0;
    switch (depth) {
    case 1:
        entries_ = {rgbToColourWord(rgb(0, 0, 0)), rgbToColourWord(rgb(255, 255, 255))};
        break;
    case 4:
        entries_.clear();
        for (uint32_t c : kDefault4)
            entries_.push_back(rgbToColourWord(c));
        break;
    case 8:
    case 16:
    case 32:
        setDefault8();
        break;
    default:
        throw NotSupportedError("no default palette for " + std::to_string(depth) + " bits");
    }
    touch();
    fitToDisplay(depth, currentDisplay());
}

// Six gamma-spaced levels per channel in a 6x6x6 cube, placed around the 20 entries kept for
// a 256-colour display's reserved colours, plus two ramps of skin and red tones.
void Palette::setDefault8()
{
    entries_.assign(256, 0);
    int level[6];
    for (int l = 0; l < 6; ++l)
        level[l] = int(255.0 * std::pow(l / 5.0, 1.0 / 2.2) + 0.5);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const int index = g < 5 ? 2 + 6 * g + b + 32 * r : 206 + b + 6 * (r % 3) + 32 * (r / 3);
                entries_[size_t(index)] = rgbToColourWord(rgb(level[r], level[g], level[b]));
            }
    ramp(196, 205, rgb(0xFC, 0xDE, 0xC9), rgb(0x8C, 0x39, 0x24));
    ramp(228, 237, rgb(0xEE, 0xBF, 0xC2), rgb(0xE4, 0x02, 0x12));
}

void Palette::ramp(int a, int b, uint32_t firstRgb, uint32_t lastRgb)
{
    auto put = [this](int logical, uint32_t rgbValue) {
        const int stored = storedIndex(logical);
        if (stored >= 0 && stored < count())
            entries_[size_t(stored)] = rgbToColourWord(rgbValue);
    };
    put(a, firstRgb);
    put(b, lastRgb);
    const int steps = b - a;
    if (steps >= 2) {
        auto channel = [&](int first, int last, int i) { return first + i * (last - first) / steps; };
        for (int i = 0; i < steps; ++i)
            put(a + i,
                rgb(channel(redOf(firstRgb), redOf(lastRgb), i), channel(greenOf(firstRgb), greenOf(lastRgb), i),
                    channel(blueOf(firstRgb), blueOf(lastRgb), i)));
    }
    touch();
}

void Palette::setIndexMap(std::vector<uint8_t> logicalToStored)
{
    if (logicalToStored.empty()) {
        clearIndexMap();
        return;
    }
    if (logicalToStored.size() != entries_.size())
        throw ArchiveError("index map does not cover the palette");
    std::vector<uint8_t> inverse(logicalToStored.size());
    std::vector<bool> seen(logicalToStored.size());
    for (size_t logical = 0; logical < logicalToStored.size(); ++logical) {
        const uint8_t stored = logicalToStored[logical];
        if (stored >= logicalToStored.size() || seen[stored])
            throw ArchiveError("index map is not a permutation");
        seen[stored] = true;
        inverse[stored] = uint8_t(logical);
    }
    map_ = std::move(logicalToStored);
    inverse_ = std::move(inverse);
    touch();
}

void Palette::clearIndexMap()
{
    map_.clear();
    inverse_.clear();
    touch();
}

int Palette::nearestIndex(uint32_t rgbValue, const std::vector<bool>* excluded) const
{
    const int red = redOf(rgbValue), green = greenOf(rgbValue), blue = blueOf(rgbValue);
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < count(); ++i) {
        if (excluded && size_t(i) < excluded->size() && (*excluded)[size_t(i)])
            continue;
        const uint32_t c = rgbOfWord(entries_[size_t(i)]);
        const int distance = sq(blueOf(c), blue) + 2 * sq(redOf(c), red) + 4 * sq(greenOf(c), green);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int Palette::nearest(uint32_t rgbValue, const std::vector<bool>* excluded) const
{
    const int stored = nearestIndex(rgbValue, excluded);
    return excluded || stored < 0 ? stored : logicalIndex(stored);
}

uint32_t contrastForBackground(uint32_t rgbValue, double gamma, int threshold)
{
    auto lift = [gamma](int channel) { return std::pow(double(channel), gamma); };
    const double luminance = 28 * lift(blueOf(rgbValue)) + 150 * lift(greenOf(rgbValue)) + 77 * lift(redOf(rgbValue));
    return luminance < 255 * lift(threshold) ? 0xFFFFFFu : 0u;
}

} // namespace celvane
