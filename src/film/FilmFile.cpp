#include "film/FilmFile.h"

#include <cmath>
#include <limits>

#include "base/StringTable.h"

namespace celvane {

namespace {

constexpr uint32_t kAllEntriesPresent = 0x80;

[[noreturn]] void notUnderstood(const std::string& why)
{
    throw ArchiveError(why, IDS_FORMAT_NOT_UNDERSTOOD);
}

uint32_t readVarNumber(ByteReader& r)
{
    uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        const uint8_t b = r.u8();
        value |= uint32_t(b & 0x7F) << shift;
        if (!(b & 0x80))
            return value;
    }
    r.fail("fade number too long");
}

void writeVarNumber(ByteWriter& out, uint32_t value)
{
    while (value >= 0x80) {
        out.u8(uint8_t(0x80 | (value & 0x7F)));
        value >>= 7;
    }
    out.u8(uint8_t(value));
}

} // namespace

FilmFileParts splitFilmFile(ByteSpan data)
{
    FilmFileParts parts;
    const bool bare = (data.size() >= 1 && data.size() <= 8)
        || (data.size() >= 4 && loadLE32(data.data()) == 0)
        || (data.size() >= 8 && loadLE32(data.data() + 4) < 9);
    if (bare) {
        parts.block = data;
        parts.bare = true;
        return parts;
    }
    const ChunkSequence chunks(data);
    const Chunk* film = chunks.find(FilmChunk::Film);
    if (!film)
        notUnderstood("no film block");
    parts.block = film->payload;
    if (const Chunk* rate = chunks.find(FilmChunk::Rate))
        parts.period = readRate(rate->payload);
    if (const Chunk* pale = chunks.find(FilmChunk::Palette))
        parts.palette = readPalette(pale->payload);
    const Chunk* dir = chunks.find(FilmChunk::SoundRecords);
    const Chunk* soun = chunks.find(FilmChunk::SoundLibrary);
    if (dir && soun) {
        parts.soundRecords = dir->payload;
        parts.soundLibrary = soun->payload;
    }
    if (const Chunk* fade = chunks.find(FilmChunk::Fades))
        parts.fades = fade->payload;
    parts.damaged = chunks.damaged();
    return parts;
}

std::optional<int> readRate(ByteSpan payload)
{
    ByteReader r(payload, IDS_FORMAT_NOT_UNDERSTOOD);
    const int32_t kind = r.i32();
    const int32_t v1 = r.i32();
    const int32_t v2 = r.i32();
    double period;
    switch (kind) {
    case 0: period = double(v1) * 10; break;
    case 1:
        if (v1 <= 0)
            return std::nullopt; // no speed rather than a division by zero
        period = std::trunc(1000.0 / v1);
        break;
    case 2:
        if (v2 <= 0)
            return std::nullopt;
        period = std::trunc(double(v1) / v2 * 1000);
        break;
    default: return std::nullopt;
    }
    if (period < 1 || period > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(period);
}

void writeRate(ByteWriter& out, int periodMs)
{
    writeChunkHeader(out, FilmChunk::Rate, 20);
    out.u32(1);
    out.u32(uint32_t(1000 / std::max(periodMs, 1)));
    out.u32(0);
}

std::vector<uint32_t> expandRiscOsPalette(const std::vector<uint32_t>& base)
{
    std::vector<uint32_t> all(256);
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t t = ((((i & 0x60) << 6) | (i & 0x10)) << 7) | ((i & 0x80) << 20);
        all[i] = (base[i % 16] & 0x773377FF) | t | (t << 4);
    }
    return all;
}

PaletteRecord readPalette(ByteSpan payload)
{
    ByteReader r(payload, IDS_FORMAT_NOT_UNDERSTOOD);
    PaletteRecord rec;
    rec.inkNumber = r.i32();
    rec.paperNumber = r.i32();
    const uint32_t flags = r.u32();
    const int log2Depth = r.u32() & 0xFF;
    const int32_t log2Second = r.i32();
    const int32_t xEigen = r.i32();
    const int32_t yEigen = r.i32();
    if (log2Depth > 5)
        r.fail("unknown film depth");
    rec.bitsPerPixel = 1 << log2Depth;
    const int64_t xShift = int64_t(xEigen) + log2Depth - log2Second;
    if (xShift < 0 || xShift > 3 || yEigen < 0 || yEigen > 3)
        r.fail("unknown pixel shape");
    rec.xShift = int(xShift);
    rec.yShift = yEigen;
    const size_t n = size_t(1) << std::min(rec.bitsPerPixel, 8);
    const bool derived = rec.bitsPerPixel == 8 && !(flags & kAllEntriesPresent);
    rec.words.resize(derived ? 16 : n);
    for (uint32_t& w : rec.words)
        w = r.u32();
    if (derived)
        rec.words = expandRiscOsPalette(rec.words);
    return rec;
}

void writePalette(ByteWriter& out, const PaletteRecord& rec)
{
    int log2Depth = 0;
    while ((1 << log2Depth) < rec.bitsPerPixel)
        ++log2Depth;
    writeChunkHeader(out, FilmChunk::Palette, uint32_t(36 + 4 * rec.words.size()));
    out.u32(uint32_t(rec.inkNumber));
    out.u32(uint32_t(rec.paperNumber));
    out.u32(rec.bitsPerPixel == 8 ? kAllEntriesPresent : 0);
    out.u32(uint32_t(log2Depth));
    out.u32(uint32_t(log2Depth));
    out.u32(uint32_t(rec.xShift));
    out.u32(uint32_t(rec.yShift));
    for (uint32_t w : rec.words)
        out.u32(w);
}

std::vector<FrameFade> readFades(ByteSpan payload, int frames)
{
    std::vector<FrameFade> fades(static_cast<size_t>(std::max(frames, 0)));
    ByteReader r(payload, IDS_FORMAT_NOT_UNDERSTOOD);
    size_t frame = 0;
    for (;;) {
        const uint8_t n = r.u8();
        if (n == 0)
            break;
        const uint32_t p = readVarNumber(r);
        const uint32_t b = readVarNumber(r);
        FrameFade f;
        f.pause = int(std::min<uint32_t>(p, 0x7FFFFFFF)) - 2;
        if (b != 0) {
            f.kind = int((b + 2) / 4);
            f.direction = int((b + 2) % 4);
        }
        // Runs past the last frame describe frames the file does not have.
        for (uint8_t i = 0; i < n && frame < fades.size(); ++i)
            fades[frame++] = f;
    }
    return fades;
}

void writeFades(ByteWriter& out, const std::vector<FrameFade>& fades)
{
    Bytes payload;
    ByteWriter w(&payload);
    for (size_t i = 0; i < fades.size();) {
        size_t run = 1;
        while (run < 255 && i + run < fades.size() && fades[i + run] == fades[i])
            ++run;
        const FrameFade& f = fades[i];
        w.u8(uint8_t(run));
        writeVarNumber(w, uint32_t(f.pause + 2));
        // Unsigned, as it was read: a kind no transition has still goes back as it came.
        writeVarNumber(w, f.kind == FrameFade::Immediate ? 0 : uint32_t(f.direction) + uint32_t(f.kind) * 4u - 2u);
        i += run;
    }
    w.u8(0);
    w.padTo(4);
    writeChunk(out, FilmChunk::Fades, payload);
}

void writeChunk(ByteWriter& out, uint32_t tag, ByteSpan payload)
{
    writeChunkHeader(out, tag, uint32_t(payload.size() + 8));
    out.bytes(payload);
}

uint32_t modeWordForDepth(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1: return 25;
    case 2: return 26;
    case 4: return 27;
    case 8: return 28;
    case 16: return 0x281680B5;
    case 32: return 0x301680B5;
    }
    return 0;
}

int depthOfModeWord(uint32_t mode)
{
    switch (mode) {
    case 25: return 1;
    case 26: return 2;
    case 27: return 4;
    case 28: return 8;
    }
    if (mode > 255) {
        // A sprite mode word: the pixel type sits in bits 27-31.
        switch (mode >> 27) {
        case 1: return 1;
        case 2: return 2;
        case 3: return 4;
        case 4: return 8;
        case 5: return 16;
        case 6: return 32;
        }
    }
    return 0;
}

} // namespace celvane
