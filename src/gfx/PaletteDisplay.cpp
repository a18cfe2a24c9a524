#include "gfx/PaletteDisplay.h"

#include <algorithm>
#include <array>

#include "gfx/Colour.h"
#include "gfx/Palette.h"

namespace celvane {

namespace {

DisplayDescription& displayStore()
{
    static DisplayDescription display;
    return display;
}

// The system's usual reserved colours as pairs: the low one counts up from the first place,
// the high one down from the last.
struct ReservedPair {
    uint32_t low;
    uint32_t high;
};
constexpr std::array<ReservedPair, 10> kStandardReserved = {{
    {rgb(0, 0, 0), rgb(255, 255, 255)},
    {rgb(128, 0, 0), rgb(0, 255, 255)},
    {rgb(0, 128, 0), rgb(255, 0, 255)},
    {rgb(128, 128, 0), rgb(0, 0, 255)},
    {rgb(0, 0, 128), rgb(255, 255, 0)},
    {rgb(128, 0, 128), rgb(0, 255, 0)},
    {rgb(0, 128, 128), rgb(255, 0, 0)},
    {rgb(192, 192, 192), rgb(128, 128, 128)},
    {rgb(192, 220, 192), rgb(141, 171, 191)},
    {rgb(166, 202, 240), rgb(255, 251, 240)},
}};
constexpr int kMaxReserved = int(2 * kStandardReserved.size());

// Reserved colours as RGB values: `low` from the first stored place up, `high` in ascending
// places ending at the last one.
struct ReservedColours {
    std::vector<uint32_t> low;
    std::vector<uint32_t> high;

    int count() const { return int(low.size() + high.size()); }
    uint32_t operator[](int k) const
    {
        return k < int(low.size()) ? low[size_t(k)] : high[size_t(k) - low.size()];
    }
};

// What a palette-based display reserves, at most `limit` colours. More than the 20 usual ones
// could not all be placed in the 8-bit default's gaps.
ReservedColours displayReserved(const DisplayDescription& display, int limit)
{
    ReservedColours reserved;
    if (display.staticColours) {
        const int n = std::max(0, std::min({display.reservedCount, limit, int(display.entries.size()), kMaxReserved}));
        const auto lowEnd = display.entries.begin() + n / 2;
        reserved.low.assign(display.entries.begin(), lowEnd);
        reserved.high.assign(display.entries.end() - (n - n / 2), display.entries.end());
    } else if (limit >= 2) {
        reserved.low = {rgb(0, 0, 0)};
        reserved.high = {rgb(255, 255, 255)};
    }
    return reserved;
}

// Missing places are filled from the usual colours, the shorter end first, so that each
// colour keeps the place the system would give it.
void completeFromStandard(ReservedColours& reserved, int target)
{
    while (reserved.count() < target) {
        if (reserved.low.size() <= reserved.high.size())
            reserved.low.push_back(kStandardReserved[reserved.low.size()].low);
        else
            reserved.high.insert(reserved.high.begin(), kStandardReserved[reserved.high.size()].high);
    }
}

// The logical index reserved colour k of r takes in the 8-bit default: its black gaps.
int logicalPlace(int k, int r)
{
    if (32 * k <= 255)
        return 32 * k;
    if (k < r - 8)
        return (k % 2 == 0 ? 194 : 226) + (k - 8) / 2;
    return 257 - 32 * r + 32 * k;
}

} // namespace

const DisplayDescription& currentDisplay() { return displayStore(); }

void setCurrentDisplay(DisplayDescription display) { displayStore() = std::move(display); }

void Palette::fitToDisplay(int depth, const DisplayDescription& display)
{
    if (depth > 8 || !display.paletteBased())
        return;
    map_.clear();
    inverse_.clear();
    ReservedColours reserved = displayReserved(display, count());
    completeFromStandard(reserved, std::min(count(), kMaxReserved));
    const int r = reserved.count();
    const int n = count();
    auto place = [&](int k) { return k < int(reserved.low.size()) ? k : n - r + k; };

    if (n != kMaxEntries) {
        // Few entries: the reserved colours simply replace those at the two ends.
        for (int k = 0; k < r; ++k)
            entries_[size_t(place(k))] = rgbToColourWord(reserved[k]);
    } else {
        std::vector<int> storedOf(size_t(n), -1);
        std::vector<bool> taken(size_t(n), false);
        std::vector<uint32_t> stored(size_t(n), 0);
        for (int k = 0; k < r; ++k) {
            storedOf[size_t(logicalPlace(k, r))] = place(k);
            taken[size_t(place(k))] = true;
            stored[size_t(place(k))] = rgbToColourWord(reserved[k]);
        }
        int next = 0;
        for (int logical = 0; logical < n; ++logical) {
            if (storedOf[size_t(logical)] >= 0)
                continue;
            while (taken[size_t(next)])
                ++next;
            taken[size_t(next)] = true;
            storedOf[size_t(logical)] = next;
            // An ordinary colour equal to a reserved one would collapse onto it on display.
            uint32_t colour = entries_[size_t(logical)];
            for (int k = 0; k < r; ++k)
                if (colour == rgbToColourWord(reserved[k])) {
                    colour = blueOf(rgbOfWord(colour)) >= 128 ? colour - 0x01000000u : colour + 0x01000000u;
                    break;
                }
            stored[size_t(next)] = colour;
        }
        entries_ = std::move(stored);
        setIndexMap(std::vector<uint8_t>(storedOf.begin(), storedOf.end()));
    }
    reserved_ = r;
    touch();
}

void Palette::checkDisplayMatch(const DisplayDescription& display)
{
    if (!display.paletteBased())
        return;
    const ReservedColours reserved = displayReserved(display, count());
    bool match = true;
    for (size_t k = 0; k < reserved.low.size(); ++k)
        match = match && rgbOfWord(entry(int(k))) == reserved.low[k];
    const size_t highStart = size_t(count()) - reserved.high.size();
    for (size_t j = 0; j < reserved.high.size(); ++j)
        match = match && rgbOfWord(entry(int(highStart + j))) == reserved.high[j];
    const int kept = match ? reserved.count() : 0;
    if (kept != reserved_) {
        reserved_ = kept;
        touch();
    }
}

const PlatformPalette& Palette::platformPalette()
{
    if (entries_.empty())
        setDefault(8);
    if (platformStamp_ == stamp_)
        return platform_;
    // A palette with maps or reserved colours is laid out the display's way already; any other
    // is handed over last entry first.
    const bool ordered = !map_.empty() || reserved_ > 0;
    const int lowReserved = reserved_ / 2;
    const int highReserved = count() - (reserved_ - lowReserved);
    platform_.clear();
    for (int i = 0; i < count(); ++i) {
        const int stored = ordered ? i : count() - 1 - i;
        const uint32_t c = rgbOfWord(entries_[size_t(stored)]);
        const bool ordinary = stored >= lowReserved && stored < highReserved;
        platform_.push_back({uint8_t(redOf(c)), uint8_t(greenOf(c)), uint8_t(blueOf(c)), reserved_ > 0 && ordinary});
    }
    platformStamp_ = stamp_;
    return platform_;
}

} // namespace celvane
