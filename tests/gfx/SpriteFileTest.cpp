#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>

#include "BmpParts.h"
#include "TestSupport.h"
#include "base/Errors.h"
#include "gfx/Colour.h"
#include "gfx/DibLayout.h"
#include "gfx/Sprite.h"

using namespace celvane;

namespace {

Bytes written(const Sprite& s, SpriteWriteKind kind, bool withFileHeader)
{
    Bytes out;
    ByteWriter w(&out);
    const size_t n = s.write(&w, kind, withFileHeader);
    EXPECT_EQ(n, out.size());
    EXPECT_EQ(s.write(nullptr, kind, withFileHeader), n);
    return out;
}

void load(Sprite& s, ByteSpan bmpFile)
{
    const test::BmpParts parts = test::splitBmp(bmpFile);
    s.createFromDib(parts.headerAndTable, parts.pixels);
}

// A sprite with distinct pixel bytes and, at palette depths, a changed colour.
Sprite sample(int bits, int width = 13, int height = 6, int logicalHeight = 3)
{
    Sprite s;
    s.create(width, height, width, logicalHeight, bits);
    for (size_t i = 0; i < s.imageSize(); ++i)
        s.pixels()[i] = uint8_t(i * 37 + 11);
    if (bits <= 8)
        s.palette()->setEntry(1, rgbToColourWord(rgb(1, 2, 3)));
    return s;
}

// A DIB as bytes, taken apart for corrupting.
struct Dib {
    Bytes header;
    Bytes pixels;
    explicit Dib(const Sprite& s)
        : header(s.headerAndTable().begin(), s.headerAndTable().end()), pixels(s.pixels(), s.pixels() + s.imageSize())
    {
    }
    void set32(size_t offset, uint32_t v) { storeLE32(&header[offset], v); }
    void set16(size_t offset, uint16_t v) { storeLE16(&header[offset], v); }
};

} // namespace

TEST(SpriteFile, BitmapRoundTripsForEveryDepth)
{
    for (int bits : {1, 4, 8, 16, 32}) {
        SCOPED_TRACE(bits);
        const Sprite s = sample(bits);
        const Bytes file = written(s, SpriteWriteKind::Bitmap, true);
        const size_t offset = 14 + s.headerAndTable().size();
        ASSERT_EQ(file.size(), offset + s.imageSize());
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(loadLE32(&file[2]), file.size());
        EXPECT_EQ(loadLE32(&file[6]), 0u);
        EXPECT_EQ(loadLE32(&file[10]), offset);

        Sprite back;
        load(back, file);
        EXPECT_EQ(back.logicalWidth(), 13);
        EXPECT_EQ(back.logicalHeight(), 3);
        // Header, colour table (from the palette) and pixels all come back the same.
        EXPECT_EQ(written(back, SpriteWriteKind::Bitmap, true), file);
        EXPECT_EQ(back.palette()->count(), bits <= 8 ? 1 << bits : 0);
    }
}

TEST(SpriteFile, FilmChunkWithTransparentColour)
{
    Sprite s = sample(1, 3, 2, 2);
    s.ensureMask(); // a transparent colour wins over a mask, which is then not written
    s.setTransparentColour(0x11223344, true);
    const Bytes chunk = written(s, SpriteWriteKind::FilmChunk, true);
    ASSERT_EQ(chunk.size(), 88u); // 8 + 70 bytes of bitmap, 2 to align, 8
    EXPECT_EQ(Bytes(chunk.begin(), chunk.begin() + 4), (Bytes{'1', '0', '1', 0}));
    EXPECT_EQ(loadLE32(&chunk[4]), 88u);
    EXPECT_EQ(Bytes(chunk.begin() + 8, chunk.begin() + 78), written(s, SpriteWriteKind::Bitmap, true));
    EXPECT_EQ(loadLE16(&chunk[78]), 0);
    EXPECT_EQ(loadLE32(&chunk[80]), 0x11223344u);
    EXPECT_EQ(loadLE32(&chunk[84]), 1u);

    s.setTransparentColour(0x11223344, false);
    EXPECT_EQ(loadLE32(&written(s, SpriteWriteKind::FilmChunk, false)[8 + 56 + 4]), 0u); // solid

    // Appending to a writer that already holds data pads relative to the chunk's own start.
    Bytes out = {0xAA};
    ByteWriter w(&out);
    w.u8(0xBB);
    EXPECT_EQ(s.write(&w, SpriteWriteKind::FilmChunk, true), 88u);
    EXPECT_EQ(out.size(), 90u);
}

TEST(SpriteFile, FilmChunkWithMaskOrNeither)
{
    Sprite s = sample(8, 3, 2, 2);
    EXPECT_EQ(loadLE32(written(s, SpriteWriteKind::FilmChunk, false).data()), 0x00433936u); // "69C"

    s.buildMaskFromKey(s.readPixel(0, 0), false);
    const Bytes chunk = written(s, SpriteWriteKind::FilmChunk, false);
    const Bytes body = written(s, SpriteWriteKind::Bitmap, false);
    const Bytes mask = written(*s.mask(), SpriteWriteKind::Bitmap, true);
    ASSERT_EQ(body.size(), 1072u);
    ASSERT_EQ(mask.size(), 70u);
    ASSERT_EQ(chunk.size(), 1152u); // 8 + 1072 + 70, aligned to 4
    EXPECT_EQ(Bytes(chunk.begin(), chunk.begin() + 4), (Bytes{'1', '0', '2', 0}));
    EXPECT_EQ(loadLE32(&chunk[4]), 1152u);
    EXPECT_EQ(Bytes(chunk.begin() + 8, chunk.begin() + 1080), body);
    EXPECT_EQ(Bytes(chunk.begin() + 1080, chunk.begin() + 1150), mask);
    EXPECT_EQ(loadLE16(&chunk[1150]), 0);

    Sprite m;
    load(m, ByteSpan(chunk).subspan(1080));
    EXPECT_EQ(m.readPixel(0, 0), 0u);
    EXPECT_EQ(std::memcmp(m.pixels(), s.mask()->pixels(), m.imageSize()), 0);

    EXPECT_THROW(Sprite().write(nullptr, SpriteWriteKind::Bitmap, true), NotSupportedError);
}

TEST(SpriteFile, DamagedOrForeignHeadersAreRefused)
{
    const Sprite good = sample(8, 5, 2, 2);
    const Sprite good16 = sample(16, 5, 2, 2);
    auto refused = [&](const Sprite& base, const std::function<void(Dib&)>& damage) -> ErrorKind {
        Dib dib(base);
        damage(dib);
        Sprite s = sample(4, 2, 2, 2);
        try {
            s.createFromDib(dib.header, dib.pixels);
        } catch (const Error& e) {
            EXPECT_EQ(s.width(), 2); // a refused DIB leaves the sprite as it was
            EXPECT_EQ(s.bitsPerPixel(), 4);
            return e.kind();
        }
        ADD_FAILURE() << "accepted";
        return ErrorKind::UserCancel;
    };
    const auto archive = ErrorKind::Archive, unsupported = ErrorKind::NotSupported;
    EXPECT_EQ(refused(good, [](Dib& d) { d.header.resize(39); }), archive);
    EXPECT_EQ(refused(good, [](Dib& d) { d.pixels.pop_back(); }), archive);
    for (uint32_t size : {0u, 20u, 41u, 200u})
        EXPECT_EQ(refused(good, [size](Dib& d) { d.set32(0, size); }), unsupported) << size;
    EXPECT_EQ(refused(good, [](Dib& d) { d.set16(12, 2); }), archive);
    for (uint16_t bits : {0, 3, 12, 64})
        EXPECT_EQ(refused(good, [bits](Dib& d) { d.set16(14, bits); }), archive) << bits;
    for (int32_t width : {0, -5, 32768, INT_MIN})
        EXPECT_EQ(refused(good, [width](Dib& d) { d.set32(4, uint32_t(width)); }), archive) << width;
    for (int32_t height : {0, 32768, INT_MIN})
        EXPECT_EQ(refused(good, [height](Dib& d) { d.set32(8, uint32_t(height)); }), archive) << height;
    EXPECT_EQ(refused(good, [](Dib& d) { d.set32(32, 257); }), archive);
    // Run-length coding runs bottom-up only, and only for the depth it was made for.
    EXPECT_EQ(refused(good, [](Dib& d) { d.set32(16, 1), d.set32(8, uint32_t(-2)); }), archive);
    EXPECT_EQ(refused(good, [](Dib& d) { d.set32(16, 2); }), unsupported);
    EXPECT_EQ(refused(good16, [](Dib& d) { d.set32(16, 1); }), unsupported);
    EXPECT_EQ(refused(good16, [](Dib& d) { d.set32(40, 0x0015); }), unsupported); // a mask with gaps
    EXPECT_EQ(refused(good16, [](Dib& d) { d.set32(16, 4); }), unsupported);
    EXPECT_EQ(refused(good16, [](Dib& d) { d.header.resize(44); }), archive); // masks cut short
    // Too large to take is refused before anything is allocated or read.
    EXPECT_EQ(refused(good, [](Dib& d) { d.set32(4, 32767), d.set32(8, 32767); }), unsupported);
    // However few bytes its codes take, a picture of 100 million pixels is no film's.
    EXPECT_EQ(refused(good, [](Dib& d) { d.set32(4, 10000), d.set32(8, 10000), d.set32(16, 1); }), unsupported);
}

TEST(SpriteFile, ForeignLayoutsAreTurnedIntoOurs)
{
    // The platform's 16- and 32-bit layouts keep red high; ours keep it low.
    for (int bits : {16, 32}) {
        for (uint32_t compression : {kCompressionNone, kCompressionBitFields}) {
            Bytes header = makeInfoHeader(2, 1, 2, 1, bits);
            storeLE32(&header[16], compression);
            const uint32_t red = bits == 16 ? 0x7C00 : 0xFF0000;
            storeLE32(&header[40], red);
            storeLE32(&header[48], bits == 16 ? 0x001F : 0x0000FF);
            Bytes pixels(8, 0);
            if (bits == 16)
                storeLE16(pixels.data(), uint16_t(red));
            else
                storeLE32(pixels.data(), red);
            Sprite s;
            s.createFromDib(header, pixels);
            EXPECT_EQ(s.colourWordOf(s.readPixel(0, 0)), 0x0000FF00u) << bits << " " << compression;
            EXPECT_EQ(loadLE32(&s.headerAndTable()[16]), kCompressionBitFields);
        }
    }

    // Top-down rows, a short colour table, densities that are only a resolution or nonsense.
    Bytes header = makeInfoHeader(1, 2, 1, 2, 4);
    storeLE32(&header[8], uint32_t(-2));
    storeLE32(&header[24], 2835);
    storeLE32(&header[28], 2835);
    storeLE32(&header[32], 2);
    header.resize(48);
    header[46] = 0xFF; // entry 1 red
    const Bytes pixels = {0x10, 0, 0, 0, 0x00, 0, 0, 0};
    Sprite s;
    s.createFromDib(header, pixels);
    EXPECT_EQ(s.readPixel(0, 0), 1u);
    EXPECT_EQ(s.readPixel(0, 1), 0u);
    EXPECT_EQ(s.logicalHeight(), 2);
    EXPECT_EQ(s.palette()->count(), 16);
    EXPECT_EQ(s.palette()->entry(1), 0x0000FF00u);
    EXPECT_EQ(s.palette()->entry(15), 0u);
}

TEST(SpriteFile, CorpusBitmapsLoadOrAreRefused)
{
    namespace fs = std::filesystem;
    const fs::path corpus = test::corpusDir("bmp");
    CELVANE_REQUIRE_CORPUS(corpus);
    int good = 0;
    for (const auto& [name, path] : test::corpusFiles(corpus)) {
        SCOPED_TRACE(path.string());
        const Bytes file = readFile(path.string());
        // Every good file must load; the others load or are refused, never worse.
        const bool mustLoad = path.parent_path().filename() == "g";
        Sprite s;
        try {
            load(s, file);
        } catch (const Error& e) {
            EXPECT_FALSE(mustLoad) << e.what();
            EXPECT_FALSE(e.userMessage().empty());
        }
        good += mustLoad;
    }
    EXPECT_EQ(good, 23);

    Sprite nonsquare;
    load(nonsquare, readFile((corpus / "g" / "pal8nonsquare.bmp").string()));
    EXPECT_EQ(nonsquare.logicalWidth(), 169); // densities 2835 and 1417 per metre
    EXPECT_EQ(nonsquare.logicalHeight(), 85);
}
