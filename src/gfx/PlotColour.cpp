#include "gfx/PlotColour.h"

#include "gfx/Colour.h"
#include "gfx/DibLayout.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {

struct TableKey {
    int sourceBits = 0;
    int destinationBits = 0;
    uint32_t sourceStamp = 0;
    uint32_t destinationStamp = 0; // 0 for direct-colour destinations, whose palette does not count
    bool operator==(const TableKey&) const = default;
};

struct CachedTable {
    TableKey key;
    std::vector<uint32_t> table;
    bool identity = false;
};

} // namespace

const std::vector<uint32_t>* translationTable(const Sprite& source, const Sprite& destination)
{
    static CachedTable cache;
    const int dstBits = destination.bitsPerPixel();
    const TableKey key{source.bitsPerPixel(), dstBits, source.palette()->changeStamp(),
                       isPaletteDepth(dstBits) ? destination.palette()->changeStamp() : 0};
    if (cache.table.empty() || !(cache.key == key)) {
        std::vector<uint32_t> table(size_t(1) << key.sourceBits);
        bool identity = true;
        for (uint32_t i = 0; i < table.size(); ++i) {
            table[i] = destination.pixelValueForRgb(rgbOfWord(source.colourWordOf(i)));
            identity = identity && table[i] == i;
        }
        cache = {key, std::move(table), identity};
    }
    return cache.identity ? nullptr : &cache.table;
}

const std::vector<uint32_t>& widened16()
{
    static const std::vector<uint32_t> table = [] {
        Sprite probe;
        probe.create(1, 1, 1, 1, 16);
        std::vector<uint32_t> values(0x8000);
        for (uint32_t v = 0; v < values.size(); ++v)
            values[v] = rgbOfWord(probe.colourWordOf(v));
        return values;
    }();
    return table;
}

NearestColours::NearestColours(const Sprite& destination)
    : destination_(destination), keys_(size_t(1) << kSlotBits, 0), values_(size_t(1) << kSlotBits, 0)
{
}

void NearestColours::fill(uint32_t slot, uint32_t rgbValue)
{
    keys_[slot] = rgbValue + 1;
    values_[slot] = destination_.pixelValueForRgb(rgbValue);
}

} // namespace celvane
