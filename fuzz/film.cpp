// A film file opened, every frame decoded, its sounds and fades looked at, saved, and opened
// again: the saved film must open and show every frame that showed before, pixel for pixel.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "base/Errors.h"
#include "film/FileType.h"
#include "film/Film.h"

using namespace celvane;

namespace {

bool samePictures(const Sprite& a, const Sprite& b)
{
    if (a.height() != b.height() || a.usedBytesPerRow() != b.usedBytesPerRow())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.rowAddress(y), b.rowAddress(y), size_t(a.usedBytesPerRow())) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ByteSpan bytes = fuzz::spanOf(data, size);
    Film film;
    try {
        film.load(0, nullptr, &bytes, FileType::Film);
    } catch (const Error&) {
        return 0;
    }
    std::vector<bool> shown;
    for (int frame = 0; frame < film.frameCount(); ++frame) {
        try {
            film.makeCurrent(frame);
            shown.push_back(true);
        } catch (const Error&) {
            shown.push_back(false);
        }
        film.playedSounds(frame);
        film.fade(frame);
        film.frameName(frame);
    }
    // Saving codes every frame again: past a megapixel (still 32 rows as wide as a frame can be)
    // that is the sanitisers' time spent on the writer, not on the reader.
    if (uint64_t(film.width()) * uint64_t(film.height()) > (1u << 20))
        return 0;
    Bytes saved;
    ByteWriter out(&saved);
    try {
        film.save(&out, FileType::Film, false);
    } catch (const Error&) {
        return 0;
    }
    Film reopened;
    const ByteSpan savedBytes = saved;
    try {
        reopened.load(0, nullptr, &savedBytes, FileType::Film);
    } catch (const Error&) {
        std::abort(); // a film we saved does not open
    }
    if (reopened.frameCount() != film.frameCount())
        std::abort();
    Sprite before, after;
    for (int frame = 0; frame < film.frameCount(); ++frame) {
        if (!shown[size_t(frame)])
            continue;
        film.decodeFrameInto(frame, before);
        try {
            reopened.decodeFrameInto(frame, after);
        } catch (const Error&) {
            std::abort(); // a frame that showed before cannot be shown after a save
        }
        if (!samePictures(before, after))
            std::abort(); // a frame changed on its way through a save
    }
    return 0;
}
