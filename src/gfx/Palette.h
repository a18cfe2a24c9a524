#pragma once
// A palette shared by reference count between sprites and films. Every change takes a new
// change stamp, so that whoever derives tables from a palette rebuilds them only when the stamp
// differs from the one they built for.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace celvane {

class PaletteRef;

// The next change stamp of the one process-wide counter; never 0, so 0 can mean "never".
uint32_t nextChangeStamp();

class Palette {
public:
    // Largest entry count: indices and index maps are bytes.
    static constexpr int kMaxEntries = 256;

    // A new empty palette with reference count 1, owned by the returned handle.
    static PaletteRef make();

    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    void retain() { ++references_; }
    // The last release destroys the palette.
    void release();
    int referenceCount() const { return references_; }

    int count() const { return int(entries_.size()); }
    // 0 ... kMaxEntries (NotSupportedError otherwise). New entries are black. A change of count
    // drops the index maps, which only make sense for the old count.
    void setCount(int n);
    // No entries and no index maps.
    void clear();

    // Colour word 0xBBGGRR00 of stored index i; black for an index past the end, because
    // indices come from pixels and files.
    uint32_t entry(int i) const;
    // Low byte ignored; an index past the end is ignored.
    void setEntry(int i, uint32_t colourWord);

    uint32_t changeStamp() const { return stamp_; }
    void touch() { stamp_ = nextChangeStamp(); }

    // The default contents for a sprite depth (1, 4, 8, 16 or 32 bits; 16 and 32 bits get the
    // 256-entry 8-bit default). Drops the index maps. NotSupportedError for other depths.
    void setDefault(int depth);
    // Sets logical entries a and b to the RGB values first and last (0x00BBGGRR) and
    // interpolates a ... b - 1 per channel, truncating towards zero.
    void ramp(int a, int b, uint32_t firstRgb, uint32_t lastRgb);

    // Logical index -> stored index, and its inverse; both empty when there is no map.
    const std::vector<uint8_t>& indexMap() const { return map_; }
    const std::vector<uint8_t>& inverseMap() const { return inverse_; }
    // The map must be a permutation of 0 ... count - 1 (ArchiveError otherwise: maps come from
    // files); an empty map clears it.
    void setIndexMap(std::vector<uint8_t> logicalToStored);
    void clearIndexMap();
    // Through the maps; an index the map does not cover passes unchanged.
    int storedIndex(int logical) const { return through(map_, logical); }
    int logicalIndex(int stored) const { return through(inverse_, stored); }

    // The stored index nearest to an RGB value by dB² + 2dR² + 4dG², the lowest index on a tie,
    // skipping stored indices marked in `excluded`; -1 when no entry is left.
    int nearestIndex(uint32_t rgbValue, const std::vector<bool>* excluded = nullptr) const;

private:
    friend class PaletteRef;
    Palette();
    ~Palette() = default;

    static int through(const std::vector<uint8_t>& map, int i)
    {
        return i >= 0 && size_t(i) < map.size() ? map[size_t(i)] : i;
    }
    void setDefault8();

    std::vector<uint32_t> entries_;
    std::vector<uint8_t> map_;
    std::vector<uint8_t> inverse_;
    int references_ = 1;
    uint32_t stamp_;
};

// Holds one reference to a palette: copying retains, destruction releases.
class PaletteRef {
public:
    PaletteRef() = default;
    // A new empty palette, reference count 1.
    static PaletteRef make() { return Palette::make(); }

    PaletteRef(const PaletteRef& other) : palette_(other.palette_)
    {
        if (palette_)
            palette_->retain();
    }
    PaletteRef(PaletteRef&& other) noexcept : palette_(std::exchange(other.palette_, nullptr)) {}
    PaletteRef& operator=(PaletteRef other) noexcept
    {
        std::swap(palette_, other.palette_);
        return *this;
    }
    ~PaletteRef() { reset(); }

    void reset()
    {
        if (Palette* p = std::exchange(palette_, nullptr))
            p->release();
    }

    Palette* get() const { return palette_; }
    Palette* operator->() const { return palette_; }
    Palette& operator*() const { return *palette_; }
    explicit operator bool() const { return palette_ != nullptr; }
    friend bool operator==(const PaletteRef&, const PaletteRef&) = default;

private:
    friend class Palette;
    explicit PaletteRef(Palette* adopted) : palette_(adopted) {}

    Palette* palette_ = nullptr;
};

} // namespace celvane
