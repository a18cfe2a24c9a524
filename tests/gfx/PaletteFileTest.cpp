#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "base/Chunks.h"
#include "base/Errors.h"
#include "base/StringTable.h"
#include "gfx/Colour.h"
#include "gfx/Palette.h"

using namespace celvane;
namespace fs = std::filesystem;

namespace {

uint32_t word(int r, int g, int b) { return rgbToColourWord(rgb(r, g, b)); }

PaletteRef paletteOf(std::initializer_list<uint32_t> words)
{
    PaletteRef p = PaletteRef::make();
    p->setCount(int(words.size()));
    int i = 0;
    for (uint32_t w : words)
        p->setEntry(i++, w);
    return p;
}

Bytes written(const Palette& p)
{
    Bytes out;
    ByteWriter w(&out);
    const size_t count = p.writePalFile(&w);
    EXPECT_EQ(count, out.size());
    return out;
}

// A RIFF palette file of `n` entries whose data chunk follows `before` (other chunks).
Bytes riffPalette(int n, const Bytes& before = {}, uint16_t version = 0x0300)
{
    Bytes out;
    ByteWriter w(&out);
    w.u32(makeTag("RIFF"));
    w.u32(uint32_t(4 + before.size() + 12 + 4 * n));
    w.u32(makeTag("PAL "));
    w.bytes(before);
    w.u32(makeTag("data"));
    w.u32(uint32_t(4 * n + 4));
    w.u16(version);
    w.u16(uint16_t(n));
    for (int i = 0; i < n; ++i) {
        w.u8(uint8_t(i));
        w.u8(uint8_t(2 * i));
        w.u8(uint8_t(3 * i));
        w.u8(0xEE); // flags are not colour
    }
    return out;
}

int notUnderstood(const Bytes& file)
{
    PaletteRef p = PaletteRef::make();
    p->setCount(16);
    const uint32_t stamp = p->changeStamp();
    try {
        p->readPalFile(file);
    } catch (const ArchiveError& e) {
        EXPECT_EQ(p->changeStamp(), stamp);
        return e.messageId();
    }
    return 0;
}

} // namespace

TEST(PaletteFile, WritesRiffAndReadsItBack)
{
    PaletteRef two = paletteOf({word(1, 2, 3), word(255, 254, 253)});
    const Bytes file = written(*two);
    const Bytes expected = {'R', 'I', 'F', 'F', 24, 0, 0, 0, 'P', 'A', 'L', ' ', 'd', 'a', 't', 'a', 12, 0, 0, 0,
                            0, 3, 2, 0, 1, 2, 3, 0, 255, 254, 253, 0};
    EXPECT_EQ(file, expected);
    EXPECT_EQ(two->writePalFile(nullptr), 32u);

    PaletteRef back = PaletteRef::make();
    back->setCount(2);
    EXPECT_TRUE(back->readPalFile(file).applied());
    EXPECT_EQ(back->entry(1), word(255, 254, 253));

    PaletteRef empty = PaletteRef::make();
    EXPECT_EQ(empty->writePalFile(nullptr), 0u);
    empty->setCount(3); // the masks of a direct-colour sprite, not colours
    EXPECT_EQ(written(*empty).size(), 0u);
}

TEST(PaletteFile, CountMismatchIsRefusedNamingBothCounts)
{
    PaletteRef p = PaletteRef::make();
    p->setDefault(8);
    const uint32_t stamp = p->changeStamp();
    const PalFileRead result = p->readPalFile(riffPalette(16));
    EXPECT_FALSE(result.applied());
    EXPECT_EQ(result.refusal(), formatMessage(IDS_PALETTE_INCOMPATIBLE, {"16", "256"}));
    EXPECT_NE(result.refusal().find("it has 16 entries, while the film has 256"), std::string::npos);
    EXPECT_EQ(p->changeStamp(), stamp);
    EXPECT_EQ(p->entry(255), word(255, 255, 255));
}

TEST(PaletteFile, AcceptedForms)
{
    PaletteRef p = PaletteRef::make();
    p->setCount(16);
    // Chunks before "data" are walked over, an odd-sized one to the next 4-byte boundary.
    const Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    ASSERT_TRUE(p->readPalFile(riffPalette(16, list)).applied());
    EXPECT_EQ(p->entry(5), word(5, 10, 15)); // flags ignored

    // A bare file: the entries after a 24-byte header nobody reads.
    Bytes bare(88, 0xAA);
    for (int i = 0; i < 16; ++i) {
        bare[size_t(24 + 4 * i)] = uint8_t(100 + i);
        bare[size_t(25 + 4 * i)] = 0;
        bare[size_t(26 + 4 * i)] = 1;
    }
    ASSERT_TRUE(p->readPalFile(bare).applied());
    EXPECT_EQ(p->entry(15), word(115, 0, 1));
}

TEST(PaletteFile, DamagedOrForeignFilesAreNotUnderstood)
{
    const int kNotUnderstood = IDS_PALETTE_NOT_UNDERSTOOD;
    EXPECT_EQ(notUnderstood(Bytes(100, 0)), kNotUnderstood); // no bare size
    EXPECT_EQ(notUnderstood(Bytes(20, 0)), kNotUnderstood);
    EXPECT_EQ(notUnderstood(riffPalette(16, {}, 0x0301)), kNotUnderstood);
    EXPECT_EQ(notUnderstood(riffPalette(0)), kNotUnderstood);

    Bytes truncated = riffPalette(16);
    truncated.resize(truncated.size() - 4);
    EXPECT_EQ(notUnderstood(truncated), kNotUnderstood);

    Bytes overstated = riffPalette(16); // n larger than its chunk
    overstated[22] = 17;
    EXPECT_EQ(notUnderstood(overstated), kNotUnderstood);

    Bytes riffSizeShort = riffPalette(16); // the data chunk lies past the RIFF size
    riffSizeShort[4] = 20;
    EXPECT_EQ(notUnderstood(riffSizeShort), kNotUnderstood);

    Bytes hugeChunk = riffPalette(16, {'J', 'U', 'N', 'K', 0xF0, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(notUnderstood(hugeChunk), kNotUnderstood);

    Bytes wave = riffPalette(2);
    std::copy_n("WAVE", 4, wave.begin() + 8);
    EXPECT_EQ(notUnderstood(wave), kNotUnderstood);
}

TEST(PaletteFile, SampleFiles)
{
    const fs::path corpus = test::corpusDir("pal");
    CELVANE_REQUIRE_CORPUS(corpus);
    int riffFiles = 0;
    for (const auto& entry : fs::directory_iterator(corpus / "riff")) {
        const Bytes file = readFile(entry.path().string());
        PaletteRef p = PaletteRef::make();
        p->setCount(256);
        PalFileRead read;
        ASSERT_NO_THROW(read = p->readPalFile(file)) << entry.path();
        if (!read.applied() && read.fileEntries <= Palette::kMaxEntries) {
            p->setCount(read.fileEntries);
            ASSERT_TRUE(p->readPalFile(file).applied()) << entry.path();
        }
        if (read.fileEntries <= Palette::kMaxEntries) { // the first entry, as the file has it
            EXPECT_EQ(p->entry(0), word(file[24], file[25], file[26])) << entry.path();
        }
        ++riffFiles;
    }
    EXPECT_GE(riffFiles, 7);
    for (const auto& entry : fs::directory_iterator(corpus / "not-riff"))
        EXPECT_EQ(notUnderstood(readFile(entry.path().string())), IDS_PALETTE_NOT_UNDERSTOOD) << entry.path();
}

TEST(PaletteRiscOs, DefaultsAndTints)
{
    PaletteRef p = PaletteRef::make();
    p->setFromRiscOs({}, 1, false, 0);
    EXPECT_EQ(p->count(), 2);
    EXPECT_EQ(p->entry(0), word(255, 255, 255));
    p->setFromRiscOs({}, 4, false, 0);
    ASSERT_EQ(p->count(), 16);
    EXPECT_EQ(p->entry(8), word(0, 68, 153));
    p->setFromRiscOs({}, 8, false, 0);
    ASSERT_EQ(p->count(), 256);
    EXPECT_EQ(p->entry(0), word(0, 0, 0));
    EXPECT_EQ(p->entry(0x10), word(0x88, 0, 0));      // index bit 4: top bit of red
    EXPECT_EQ(p->entry(0x60), word(0, 0xCC, 0));      // bits 5 and 6: two high bits of green
    EXPECT_EQ(p->entry(0x84), word(0x44, 0, 0x88));   // bit 7 over tint 4 (68, 0, 0)
    EXPECT_EQ(p->entry(255), word(255, 255, 255));
    EXPECT_TRUE(p->indexMap().empty());
    EXPECT_THROW(p->setFromRiscOs({}, 2, false, 0), NotSupportedError);
    EXPECT_THROW(p->setFromRiscOs({}, 16, false, 0), NotSupportedError);
}

TEST(PaletteRiscOs, StoredEntries)
{
    // Sprite palettes hold pairs of words; 4-bit channels widen to 8 bits.
    Bytes pairs;
    ByteWriter w(&pairs);
    for (int i = 0; i < 16; ++i) {
        w.u32(rgbToColourWord(rgb(0xF0, i << 4, 0x10), i));
        w.u32(0x12345678); // the second word of the pair is not read
    }
    PaletteRef p = PaletteRef::make();
    p->setFromRiscOs(pairs, 4, false, 1);
    EXPECT_EQ(p->entry(15), word(0xFF, 0xFF, 0x11));
    EXPECT_EQ(p->entry(0), word(0xFF, 0, 0x11));
    EXPECT_TRUE(p->indexMap().empty()); // pairs never carry a permutation

    pairs[1] = 0x01; // red of entry 0 has a low nibble: the channels are real 8-bit values
    p->setFromRiscOs(pairs, 4, false, 1);
    EXPECT_EQ(p->entry(0), word(0x01, 0, 0x10));
    EXPECT_EQ(p->entry(15), word(0xF0, 0xF0, 0x10));
    EXPECT_NO_THROW(p->setFromRiscOs(ByteSpan(pairs).first(124), 4, false, 1)); // the last second word is not needed
    EXPECT_THROW(p->setFromRiscOs(ByteSpan(pairs).first(123), 4, false, 1), ArchiveError);

    // Low bytes that permute the indices say where each logical colour is stored.
    auto four = [](std::initializer_list<int> lowBytes) {
        Bytes out;
        ByteWriter w(&out);
        int i = 0;
        for (int low : lowBytes)
            w.u32(rgbToColourWord(rgb(10 * i++, 0, 0), low));
        return out;
    };
    p->setFromRiscOs(four({1, 0, 3, 2}), 2, false, 0);
    EXPECT_EQ(p->indexMap(), (std::vector<uint8_t>{1, 0, 3, 2}));
    EXPECT_EQ(p->entry(1), word(10, 0, 0)); // the low byte is not kept
    p->setFromRiscOs(four({0, 1, 2, 3}), 2, false, 0);
    EXPECT_TRUE(p->indexMap().empty());
    p->setFromRiscOs(four({0, 1, 2, 4}), 2, false, 0); // 4 is no index of a 4-entry palette
    EXPECT_TRUE(p->indexMap().empty());
}
