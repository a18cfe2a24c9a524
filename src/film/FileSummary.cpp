#include "film/FileSummary.h"

#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"

namespace celvane {

FileSummary FileSummary::of(Film& film)
{
    FileSummary s;
    s.width = film.width();
    s.height = film.height();
    s.colours = coloursOf(film.bitsPerPixel());
    s.frames = film.frameCount();
    s.compressed = film.compressed();
    s.fileSizeK = kilobytes(film.save(nullptr, FileType::Film, false));
    const uint64_t raw = uint64_t(s.frames) * uint64_t(s.width) * uint64_t(s.height) * uint64_t(film.bitsPerPixel()) / 8;
    s.compressedPercent = percent(film.storedFrameBytes(), raw);
    return s;
}

std::string FileSummary::coloursOf(int bits)
{
    switch (bits) {
    case 1: return loadString(IDS_DEPTH_2);
    case 4: return loadString(IDS_DEPTH_16);
    case 8: return loadString(IDS_DEPTH_256);
    case 16: return loadString(IDS_DEPTH_THOUSANDS);
    case 32: return loadString(IDS_DEPTH_MILLIONS);
    }
    return "-";
}

int64_t FileSummary::kilobytes(uint64_t bytes) { return int64_t((bytes + 1023) / 1024); }

int FileSummary::percent(uint64_t stored, uint64_t raw)
{
    if (raw == 0)
        return 0;
    // Hundredths of a per cent, so that the rounding is exact in whole numbers.
    const uint64_t hundredths = stored * 10000 / raw;
    return int((hundredths + 99) / 100);
}

} // namespace celvane
