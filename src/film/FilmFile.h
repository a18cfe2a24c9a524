#pragma once
// The chunks of a film file around the film block: ACEF (the block), RATE (speed), PALE (depth,
// pixel shape, palette, ink and paper), DIR1 and SOUN (frame sounds), FADE (transitions and
// pauses). This file knows their bytes; Film knows what they mean to a film in memory.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteIO.h"
#include "base/Chunks.h"
#include "film/FrameFade.h"

namespace celvane {

namespace FilmChunk {
constexpr uint32_t Film = makeTag("ACEF");
constexpr uint32_t Rate = makeTag("RATE");
constexpr uint32_t Palette = makeTag("PALE");
constexpr uint32_t SoundRecords = makeTag("DIR1");
constexpr uint32_t SoundLibrary = makeTag("SOUN");
constexpr uint32_t Fades = makeTag("FADE");
constexpr uint32_t Full = makeTag("FULL");
} // namespace FilmChunk

// The PALE record. Palette words are RISC OS palette words: the colour as 0xBBGGRR00 and, in
// the low byte, the logical colour number the entry stands for.
struct PaletteRecord {
    int inkNumber = 0;
    int paperNumber = 0;
    int bitsPerPixel = 8;
    int xShift = 1;
    int yShift = 1;
    std::vector<uint32_t> words;
};

// A film file taken apart. `bare` is set when the data was a film block with no chunks.
struct FilmFileParts {
    ByteSpan block;
    bool bare = false;
    std::optional<int> period;
    std::optional<PaletteRecord> palette;
    // Present together or not at all.
    std::optional<ByteSpan> soundRecords;
    std::optional<ByteSpan> soundLibrary;
    std::optional<ByteSpan> fades;
    // The chunks did not end cleanly: what came after the damage is missing.
    bool damaged = false;
};

// Splits film file data into its parts; throws ArchiveError with the "format not understood"
// message when there is no film block or a chunk is damaged.
FilmFileParts splitFilmFile(ByteSpan data);

// The frame period in milliseconds a RATE record gives, or nullopt when it gives none.
std::optional<int> readRate(ByteSpan payload);
void writeRate(ByteWriter& out, int periodMs);

PaletteRecord readPalette(ByteSpan payload);
void writePalette(ByteWriter& out, const PaletteRecord& record);
// The 256 entries an 8-bit film derives from its first 16.
std::vector<uint32_t> expandRiscOsPalette(const std::vector<uint32_t>& first16);

// One record per frame; frames not covered by the runs get the default.
std::vector<FrameFade> readFades(ByteSpan payload, int frames);
// Writes the FADE chunk (header included).
void writeFades(ByteWriter& out, const std::vector<FrameFade>& fades);

void writeChunk(ByteWriter& out, uint32_t tag, ByteSpan payload);

// Film mode words for each depth, and the depth a mode word stands for (0 when unknown).
uint32_t modeWordForDepth(int bitsPerPixel);
int depthOfModeWord(uint32_t modeWord);

} // namespace celvane
