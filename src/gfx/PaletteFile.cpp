// Palette files (".pal"): the RIFF "PAL " form, and the bare form of exactly 32, 88 or 1048
// bytes (2, 16 or 256 entries after a 24-byte header that is not read).

#include "base/Chunks.h"
#include "base/StringTable.h"
#include "gfx/Colour.h"
#include "gfx/PaletteDisplay.h"
#include "gfx/Palette.h"

namespace celvane {

namespace {

constexpr size_t kHeaderSize = 24;
constexpr uint16_t kVersion = 0x0300;

// Colour words of the entries a palette file holds (red, green, blue, flags each).
std::vector<uint32_t> parsePalFile(ByteSpan file)
{
    const ByteReader reader(file, IDS_PALETTE_NOT_UNDERSTOOD);
    size_t first = kHeaderSize;
    size_t n = 0;
    if (file.size() >= 4 && reader.u32At(0) == makeTag("RIFF")) {
        if (file.size() < kHeaderSize || reader.u32At(8) != makeTag("PAL "))
            reader.fail("not a RIFF palette");
        const size_t end = std::min<size_t>(file.size(), (8 + uint64_t(reader.u32At(4))) & ~uint64_t(3));
        size_t at = 12;
        while (true) {
            if (at + 8 > end)
                reader.fail("no data chunk");
            const uint64_t size = reader.u32At(at + 4);
            if (reader.u32At(at) == makeTag("data")) {
                if (size < 4 || at + 8 + size > end)
                    reader.fail("data chunk outside the file");
                const ByteSpan head = reader.bytesAt(at + 8, 4);
                n = loadLE16(head.data() + 2);
                // Some writers leave bytes after the entries; fewer than n is damage.
                if (loadLE16(head.data()) != kVersion || size < 4 * uint64_t(n) + 4)
                    reader.fail("data chunk of another version or size");
                first = at + 12;
                break;
            }
            at = size_t((uint64_t(at) + 8 + size + 3) & ~uint64_t(3));
        }
    } else if (file.size() == 32 || file.size() == 88 || file.size() == 1048) {
        n = (file.size() - kHeaderSize) / 4;
    } else {
        reader.fail("neither a RIFF palette nor a bare one");
    }
    if (n == 0)
        reader.fail("palette file without entries");
    const ByteSpan entries = reader.bytesAt(first, 4 * n);
    std::vector<uint32_t> words(n);
    for (size_t i = 0; i < n; ++i)
        words[i] = rgbToColourWord(rgb(entries[4 * i], entries[4 * i + 1], entries[4 * i + 2]));
    return words;
}

} // namespace

std::string PalFileRead::refusal() const
{
    if (applied())
        return {};
    return formatMessage(IDS_PALETTE_INCOMPATIBLE, {std::to_string(fileEntries), std::to_string(paletteEntries)});
}

PalFileRead Palette::readPalFile(ByteSpan file)
{
    std::vector<uint32_t> words = parsePalFile(file);
    const PalFileRead result{int(words.size()), count()};
    if (result.applied()) {
        entries_ = std::move(words);
        touch();
        checkDisplayMatch(currentDisplay());
    }
    return result;
}

size_t Palette::writePalFile(ByteWriter* out) const
{
    const size_t n = entries_.size();
    if (n == 0 || n == 3)
        return 0;
    const size_t total = kHeaderSize + 4 * n;
    if (!out)
        return total;
    out->u32(makeTag("RIFF"));
    out->u32(uint32_t(4 * n + 16));
    out->u32(makeTag("PAL "));
    out->u32(makeTag("data"));
    out->u32(uint32_t(4 * n + 4));
    out->u16(kVersion);
    out->u16(uint16_t(n));
    for (uint32_t e : entries_) {
        const uint32_t c = rgbOfWord(e);
        out->u8(uint8_t(redOf(c)));
        out->u8(uint8_t(greenOf(c)));
        out->u8(uint8_t(blueOf(c)));
        out->u8(0);
    }
    return total;
}

} // namespace celvane
