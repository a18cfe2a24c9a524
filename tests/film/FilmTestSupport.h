#pragma once
// Films made in memory for the film tests.

#include <cstdint>

#include "film/Film.h"
#include "film/FilmFile.h"
#include "gfx/Sprite.h"

namespace celvane::test {

// Paints a pattern that differs per frame `seed` into the current frame.
inline void paintPattern(Film& film, int frame, uint32_t seed)
{
    Sprite* s = film.workingImage(frame);
    for (int y = 0; y < s->height(); ++y) {
        uint8_t* row = s->rowAddress(y);
        for (int x = 0; x < s->usedBytesPerRow(); ++x)
            row[x] = uint8_t((x * 7 + y * 13 + seed * 31) ^ (seed >> 3));
    }
    if (s->bitsPerPixel() == 16) // keep the unused top bit of each pixel clear
        for (int y = 0; y < s->height(); ++y)
            for (int x = 1; x < s->usedBytesPerRow(); x += 2)
                s->rowAddress(y)[x] &= 0x7F;
    film.markCurrentModified();
}

// A checksum of a frame's used pixel bytes.
inline uint64_t frameSum(Film& film, int frame)
{
    const Sprite* s = film.workingImage(frame);
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < s->height(); ++y)
        for (int x = 0; x < s->usedBytesPerRow(); ++x)
            h = (h ^ s->rowAddress(y)[x]) * 1099511628211ull;
    return h;
}

// A film file of no frames yet whose header names frame coding `method` (0 is ours).
inline Bytes emptyFilmFile(int width, int height, int bitsPerPixel, uint32_t method)
{
    FilmBlock block;
    block.createEmpty(uint32_t(width) * 2, uint32_t(height) * 2, modeWordForDepth(bitsPerPixel), true);
    block.setHeaderWord(FilmBlock::Flags, method);
    Bytes bare, file;
    ByteWriter blockOut(&bare);
    block.write(blockOut, false);
    ByteWriter out(&file);
    writeChunk(out, FilmChunk::Film, bare);
    return file;
}

} // namespace celvane::test
