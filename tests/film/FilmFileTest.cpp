#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/FilmFile.h"
#include "base/Settings.h"

using namespace celvane;

namespace {
Bytes rateChunkPayload(int32_t kind, int32_t v1, int32_t v2)
{
    Bytes b;
    ByteWriter w(&b);
    w.u32(uint32_t(kind));
    w.u32(uint32_t(v1));
    w.u32(uint32_t(v2));
    return b;
}

Bytes written(const std::function<void(ByteWriter&)>& f)
{
    Bytes b;
    ByteWriter w(&b);
    f(w);
    return b;
}
} // namespace

TEST(FilmFile, SpeedRecordsRoundTripThroughFramesPerSecond)
{
    const auto roundTrip = [](int period) {
        const Bytes chunk = written([&](ByteWriter& w) { writeRate(w, period); });
        EXPECT_EQ(loadLE32(&chunk[4]), 20u);
        return readRate(ByteSpan(chunk).subspan(8));
    };
    EXPECT_EQ(roundTrip(80), 83);
    EXPECT_EQ(roundTrip(40), 40);
    EXPECT_EQ(readRate(rateChunkPayload(0, 7, 0)), 70);
    EXPECT_EQ(readRate(rateChunkPayload(2, 1, 4)), 250);
    // Nonsense leaves the period alone instead of dividing by zero.
    EXPECT_EQ(readRate(rateChunkPayload(1, 0, 0)), std::nullopt);
    EXPECT_EQ(readRate(rateChunkPayload(2, 1, 0)), std::nullopt);
    EXPECT_EQ(readRate(rateChunkPayload(5, 1, 1)), std::nullopt);
    EXPECT_THROW(readRate(Bytes(8)), ArchiveError);
}

TEST(FilmFile, PaletteRecordLengthsAndTheDerived256Colours)
{
    PaletteRecord two;
    two.bitsPerPixel = 1;
    two.words = {0x00000000, 0xFFFFFF01};
    const Bytes a = written([&](ByteWriter& w) { writePalette(w, two); });
    EXPECT_EQ(a.size(), 44u);
    EXPECT_EQ(loadLE32(&a[4]), 44u);
    EXPECT_EQ(loadLE32(&a[16]), 0u); // flags

    PaletteRecord full;
    full.bitsPerPixel = 8;
    full.words.assign(256, 0);
    const Bytes b = written([&](ByteWriter& w) { writePalette(w, full); });
    EXPECT_EQ(b.size(), 1060u);
    EXPECT_EQ(loadLE32(&b[16]), 0x80u);
    EXPECT_EQ(loadLE32(&b[20]), 3u);
    EXPECT_EQ(loadLE32(&b[24]), 3u);

    PaletteRecord deep = full;
    deep.bitsPerPixel = 16;
    const Bytes c = written([&](ByteWriter& w) { writePalette(w, deep); });
    EXPECT_EQ(c.size(), 1060u);
    EXPECT_EQ(loadLE32(&c[16]), 0u);
    EXPECT_EQ(readPalette(ByteSpan(c).subspan(8)).bitsPerPixel, 16);

    // An 8-bit record without "all entries present" carries 16 and derives the rest.
    Bytes payload = written([](ByteWriter& w) {
        w.u32(0);
        w.u32(7);
        w.u32(0);
        w.u32(3);
        w.u32(3);
        w.u32(1);
        w.u32(2);
        for (uint32_t i = 0; i < 16; ++i)
            w.u32(0xFFFFFF00u | i);
    });
    const PaletteRecord derived = readPalette(payload);
    ASSERT_EQ(derived.words.size(), 256u);
    for (uint32_t i : {0u, 0x10u, 0x65u, 0xFFu}) {
        const uint32_t t = ((((i & 0x60) << 6) | (i & 0x10)) << 7) | ((i & 0x80) << 20);
        EXPECT_EQ(derived.words[i], ((0xFFFFFF00u | (i % 16)) & 0x773377FFu) | t | (t << 4)) << i;
    }
    EXPECT_EQ(derived.words[0], 0x77337700u);
    EXPECT_EQ(derived.xShift, 1);
    EXPECT_EQ(derived.yShift, 2);
    EXPECT_EQ(derived.paperNumber, 7);

    // Truncated records and impossible depths are refused in the program's words.
    payload.resize(60);
    EXPECT_THROW(readPalette(payload), ArchiveError);
    Bytes badDepth = written([](ByteWriter& w) {
        for (uint32_t v : {0u, 0u, 0u, 9u, 9u, 0u, 0u})
            w.u32(v);
    });
    try {
        readPalette(badDepth);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.messageId(), IDS_FORMAT_NOT_UNDERSTOOD);
    }
}

TEST(FilmFile, FadeRunsSplitAt255AndRoundTrip)
{
    std::vector<FrameFade> fades(300, FrameFade{FrameFade::Wipe, FrameFade::FromTop, 150});
    fades[299] = FrameFade{};
    fades[0] = FrameFade{FrameFade::Slats, FrameFade::FromBottom, FrameFade::Stop};
    const Bytes chunk = written([&](ByteWriter& w) { writeFades(w, fades); });
    EXPECT_EQ(chunk.size() % 4, 0u);
    const ByteSpan payload = ByteSpan(chunk).subspan(8);
    // Run 1: one frame, pause 1 (stop), b = 3 + 12 - 2.
    EXPECT_EQ(payload[0], 1);
    EXPECT_EQ(payload[1], 1);
    EXPECT_EQ(payload[2], 13);
    // Run 2: 255 frames, pause 152 in two bytes, b = 2 + 8 - 2.
    EXPECT_EQ(payload[3], 255);
    EXPECT_EQ(payload[4], 0x80 | (152 & 0x7F));
    EXPECT_EQ(payload[5], 1);
    EXPECT_EQ(payload[6], 8);
    EXPECT_EQ(payload[7], 43); // the remaining 43 wipes
    EXPECT_EQ(readFades(payload, 300), fades);
    // Runs beyond the film's frames are ignored; missing ones stay default.
    EXPECT_EQ(readFades(payload, 2).size(), 2u);
    const Bytes truncated(payload.begin(), payload.begin() + 5);
    EXPECT_THROW(readFades(truncated, 300), ArchiveError);

    // A transition number far past any kind (found by fuzzing) is saved back as it was read,
    // not through an overflowing sum.
    const Bytes odd = {1, 7, 0x81, 0x80, 0x80, 0x80, 0x0A, 0};
    const Bytes again = written([&](ByteWriter& w) { writeFades(w, readFades(odd, 1)); });
    EXPECT_EQ(Bytes(again.begin() + 8, again.end()), odd);
}

TEST(FilmFile, BareBlocksAndMissingFilmChunk)
{
    const Bytes bare = {0, 0, 0, 0, 1, 2, 3, 4, 5};
    EXPECT_TRUE(splitFilmFile(bare).bare);
    const Bytes shortOne = {1, 2, 3};
    EXPECT_TRUE(splitFilmFile(shortOne).bare);
    Bytes rateOnly = written([](ByteWriter& w) { writeRate(w, 80); });
    try {
        splitFilmFile(rateOnly);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.userMessage(),
                  "The file format was not understood.  Either it's an unsupported format, or the file is corrupt.");
    }
}

TEST(FileType, ExtensionsSettingsAndContent)
{
    test::TempDir dir;
    Settings settings(dir.path() / "s.ini");
    EXPECT_EQ(fileTypeOfPath("", 77, settings), 77);
    EXPECT_EQ(fileTypeOfPath("/x/walk.QFM", 0, settings), FileType::Film);
    EXPECT_EQ(fileTypeOfPath("a.b/walk.ace", 0, settings), FileType::Film);
    EXPECT_EQ(fileTypeOfPath("pic.bmpx", 0, settings), FileType::Bitmap); // first three letters
    EXPECT_EQ(fileTypeOfPath("clip.flc", 0, settings), 0);
    EXPECT_EQ(fileTypeOfPath(".gif", 5, settings), FileType::Gif);
    settings.writeInt("File Types", "Extension_gif", 1692);
    EXPECT_EQ(fileTypeOfPath("a.gif", 0, settings), 1692);
    EXPECT_EQ(fileTypeOfPath("a.GIF", 0, settings), 1692); // names match without regard to case

    const auto typeOf = [&](const std::string& name, const Bytes& content) {
        test::writeBytes(dir.file(name), content);
        return fileTypeOfPath(dir.file(name), -1, settings);
    };
    Bytes film = {'A', 'C', 'E', 'F', 12, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(typeOf("f.xyz", film), FileType::Film);
    film[4] = 13; // second word larger than the file
    EXPECT_EQ(typeOf("g.xyz", film), -1);
    Bytes sprite = {1, 0, 0, 0, 16, 0, 0, 0, 16, 0, 0, 0};
    EXPECT_EQ(typeOf("spr", sprite), FileType::RiscOsSprite);
    EXPECT_EQ(typeOf("spr.wav", sprite), FileType::Wave); // the extension table comes first
    EXPECT_EQ(typeOf("d", Bytes{'D', 'r', 'a', 'w', 0, 0, 0, 0, 0, 0, 0, 0}), FileType::Drawfile);
    EXPECT_EQ(typeOf("l", Bytes{'W', 'A', 'V', '2', 12, 0, 0, 0, 0, 0, 0, 0}), FileType::SoundLibrary);
    EXPECT_EQ(typeOf("s", Bytes{'C', '2', 'A', 0, 12, 0, 0, 0, 0, 0, 0, 0}), FileType::StampFile);
    EXPECT_EQ(typeOf("t", Bytes{'C', '2', 'G', 0, 12, 0, 0, 0, 0, 0, 0, 0}), -1);
    EXPECT_EQ(fileTypeOfPath(dir.file(".hidden"), -1, settings), -1); // an extension alone reads nothing
}

TEST(FileType, FindsDataFilesByTheirKindsExtensions)
{
    test::TempDir dir;
    Settings settings(dir.path() / "s.ini");
    const std::string base = dir.file("data");
    EXPECT_FALSE(findFileWithDefaultExtensions(base, FileType::StampFile, settings));
    test::writeText(base + ".bmp", "BM");
    test::writeText(base, "x");
    // For stamps a bare name comes before a bitmap; for sounds neither counts.
    auto found = findFileWithDefaultExtensions(base, FileType::StampFile, settings);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path, base);
    test::writeText(base + ".stp", "x");
    found = findFileWithDefaultExtensions(base, FileType::StampFile, settings);
    EXPECT_EQ(found->path, base + ".stp");
    EXPECT_EQ(found->type, FileType::StampFile);
    test::writeText(base + ".WAV", "RIFF");
    found = findFileWithDefaultExtensions(base, FileType::SoundLibrary, settings);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path, base); // no extension comes before .WAV
}
