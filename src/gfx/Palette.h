#pragma once
// A palette shared between sprites and films (PaletteRef). Every change takes a new
// change stamp, so that whoever derives tables from a palette rebuilds them only when the stamp
// differs from the one they built for.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

class DrawingContext;
class PaletteRef;
struct DisplayDescription;

// One entry as handed to the platform for display.
struct PlatformPaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    // The platform must give this entry a place of its own rather than merge it with a
    // reserved system colour.
    bool noCollapse = false;
    bool operator==(const PlatformPaletteEntry&) const = default;
};
using PlatformPalette = std::vector<PlatformPaletteEntry>;

// What reading a palette file into a palette came to. A file that is not understood is an
// ArchiveError carrying message IDS_PALETTE_NOT_UNDERSTOOD instead; a file of the wrong size is
// this refusal, because its message names both counts.
struct PalFileRead {
    int fileEntries = 0;
    int paletteEntries = 0;
    bool applied() const { return fileEntries == paletteEntries; }
    // Message IDS_PALETTE_INCOMPATIBLE naming both counts; empty when applied.
    std::string refusal() const;
};

// The next change stamp of the one process-wide counter; never 0, so 0 can mean "never".
uint32_t nextChangeStamp();

class Palette {
public:
    // Largest entry count: indices and index maps are bytes.
    static constexpr int kMaxEntries = 256;

    // A new empty palette, held by the returned handle alone.
    static PaletteRef make();

    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

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
    // Logical entry i (through the index map) set to an RGB value.
    void setEntryRgb(int i, uint32_t rgbValue);
    // The RGB value of logical entry i tagged as a palette colour (0x02 in the top byte).
    uint32_t colourOfIndex(int i) const;

    uint32_t changeStamp() const { return stamp_; }
    void touch() { stamp_ = nextChangeStamp(); }

    // The default contents for a sprite depth (1, 4, 8, 16 or 32 bits; 16 and 32 bits get the
    // 256-entry 8-bit default), fitted to the current display. NotSupportedError for other
    // depths.
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
    // The same, given back as a logical index when there is no exclusion list (exclusion lists
    // name stored indices, so their callers stay with stored ones).
    int nearest(uint32_t rgbValue, const std::vector<bool>* excluded = nullptr) const;

    // RISC OS sprite palettes: colour words 4 x (extraWords + 1) bytes apart (sprite palettes
    // hold pairs: extraWords 1), 2^depth of them, or 16 tints expanded to 256 with `expand`.
    // Empty `words` gives the RISC OS default of depth 1, 4 or 8. Low bytes that permute the
    // indices become index maps. NotSupportedError for another depth (or depth 2 without
    // words), ArchiveError when `words` is short.
    void setFromRiscOs(ByteSpan words, int depth, bool expand, int extraWords);
    // 256 entries from the first 16, the RISC OS way of making tints.
    void expandTints();
    // Channels stored as 4-bit values in the high nibble (all low nibbles 0) are widened, so
    // 0xF0 becomes 0xFF.
    void widenNibbles();

    // Palette files (".pal"): a RIFF "PAL " file or a bare 32, 88 or 1048-byte one. Entries
    // are taken in stored order when the counts agree; otherwise nothing changes.
    // ArchiveError (IDS_PALETTE_NOT_UNDERSTOOD) for a file that is not one.
    PalFileRead readPalFile(ByteSpan file);
    // The RIFF form, in stored order; returns the byte count (only counts with no writer).
    // Nothing for a palette of 0 or 3 entries (the masks of a direct-colour sprite).
    size_t writePalFile(ByteWriter* out) const;

    // Makes the palette of a sprite of `depth` bits agree with a display of 256 colours or
    // fewer: its reserved colours take the first and last stored places, and at 8 bits the
    // index maps move the default's black gaps onto them. Nothing for deeper displays or
    // depths above 8.
    void fitToDisplay(int depth, const DisplayDescription& display);
    // Keeps the reserved count only while the stored entries at both ends still hold the
    // display's reserved colours.
    void checkDisplayMatch(const DisplayDescription& display);
    // Entries at the start and end that hold the display's reserved colours.
    int reservedCount() const { return reserved_; }

    // The palette as the platform takes it, rebuilt only when the change stamp has moved. An
    // empty palette is given the 8-bit default first.
    const PlatformPalette& platformPalette();
    // Selects the platform palette into a palette-based context (PaletteSelection.h) and
    // returns the one selected before; nothing (null) for other contexts.
    const PlatformPalette* selectInto(DrawingContext& context);

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
    int reserved_ = 0;
    std::vector<uint8_t> map_;
    std::vector<uint8_t> inverse_;
    PlatformPalette platform_;
    uint32_t platformStamp_ = 0;
    uint32_t stamp_;
};

// White (0xFFFFFF) or black (0), whichever marks stand out better on a background of this RGB
// value: white when 28 B^gamma + 150 G^gamma + 77 R^gamma < 255 threshold^gamma.
uint32_t contrastForBackground(uint32_t rgbValue, double gamma, int threshold);

// One holder of a shared palette; the palette goes with its last holder.
class PaletteRef {
public:
    PaletteRef() = default;
    // A new empty palette, held by this handle alone.
    static PaletteRef make() { return Palette::make(); }

    void reset() { palette_.reset(); }

    Palette* get() const { return palette_.get(); }
    Palette* operator->() const { return palette_.get(); }
    Palette& operator*() const { return *palette_; }
    explicit operator bool() const { return palette_ != nullptr; }
    friend bool operator==(const PaletteRef&, const PaletteRef&) = default;

private:
    friend class Palette;
    explicit PaletteRef(std::shared_ptr<Palette> made) : palette_(std::move(made)) {}

    std::shared_ptr<Palette> palette_;
};

} // namespace celvane
