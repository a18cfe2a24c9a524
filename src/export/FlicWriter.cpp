#include "export/FlicWriter.h"

#include <vector>

#include "export/ByteRun.h"
#include "export/EightBitFrames.h"
#include "film/Film.h"
#include "gfx/Sprite.h"

namespace celvane {

namespace {
constexpr size_t kHeaderSize = 128;
constexpr uint16_t kFlicType = 0xAF12;
constexpr uint16_t kFrameType = 0xF1FA;
constexpr uint16_t kColour64 = 11;
constexpr uint16_t kByteRun = 15;
constexpr uint32_t kCreator = 0x464C4942;

void writeFrame(ByteWriter& out, const Sprite& picture, bool withPalette)
{
    Bytes runs;
    for (int y = 0; y < picture.height(); ++y)
        encodeByteRunLine(picture.rowAddress(y), size_t(picture.width()), runs);
    const uint32_t pixelChunk = uint32_t(6 + runs.size());
    const uint32_t colourChunk = withPalette ? 778 : 0;
    out.u32(uint32_t(16 + colourChunk + pixelChunk));
    out.u16(kFrameType);
    out.u16(withPalette ? 2 : 1);
    out.zeros(8);
    if (withPalette) {
        out.u32(colourChunk);
        out.u16(kColour64);
        out.u16(1); // one packet: skip 0, count 0 meaning all 256
        out.u8(0);
        out.u8(0);
        const Palette& palette = *picture.palette();
        for (int i = 0; i < 256; ++i) {
            const uint32_t c = i < palette.count() ? palette.entry(i) : 0;
            out.u8(uint8_t(((c >> 8) & 0xFF) >> 2));
            out.u8(uint8_t(((c >> 16) & 0xFF) >> 2));
            out.u8(uint8_t((c >> 24) >> 2));
        }
    }
    out.u32(pixelChunk);
    out.u16(kByteRun);
    out.bytes(runs);
}
} // namespace

Bytes writeFlic(const Film& film, bool selectionOnly, const ExportProgress& progress)
{
    EightBitFrames frames(film);
    std::vector<int> chosen = film.framesToWrite(selectionOnly);
    if (chosen.empty())
        chosen.push_back(0);

    Bytes file(kHeaderSize, 0);
    ByteWriter out(&file);
    uint32_t secondFrame = 0;
    for (size_t k = 0; k < chosen.size(); ++k) {
        writeFrame(out, frames.frame(chosen[k]), k == 0);
        if (k == 0)
            secondFrame = uint32_t(file.size());
        if (progress && !progress(int(k + 1), int(chosen.size())))
            throw UserCancel();
    }
    // The ring frame: the first frame again, not counted.
    writeFrame(out, frames.frame(chosen.front()), false);

    uint8_t* h = file.data();
    storeLE32(h + 0, uint32_t(file.size()));
    storeLE16(h + 4, kFlicType);
    storeLE16(h + 6, uint16_t(chosen.size()));
    storeLE16(h + 8, uint16_t(film.width()));
    storeLE16(h + 10, uint16_t(film.height()));
    storeLE16(h + 12, 8);
    storeLE16(h + 14, 3);
    storeLE32(h + 16, uint32_t(film.period()));
    storeLE32(h + 26, kCreator);
    storeLE32(h + 34, kCreator);
    storeLE32(h + 80, uint32_t(kHeaderSize));
    storeLE32(h + 84, secondFrame);
    return file;
}

} // namespace celvane
