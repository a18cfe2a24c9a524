// A film file opened, every frame decoded, its sounds and fades looked at, saved, and opened
// again: the saved film must open and show every frame that showed before, pixel for pixel.
#include <cstdlib>
#include <optional>
#include <vector>

#include "FuzzSupport.h"
#include "base/Errors.h"
#include "film/FileType.h"
#include "film/Film.h"

using namespace celvane;

namespace {

// A frame's used pixel bytes, hashed; nothing when the frame does not decode.
std::optional<uint64_t> frameHash(const Film& film, int frame)
{
    Sprite image;
    try {
        film.decodeFrameInto(frame, image);
    } catch (const Error&) {
        return std::nullopt;
    }
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.usedBytesPerRow(); ++x)
            h = (h ^ image.rowAddress(y)[x]) * 1099511628211ull;
    return h;
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
    std::vector<std::optional<uint64_t>> shown;
    for (int frame = 0; frame < film.frameCount(); ++frame) {
        try {
            film.makeCurrent(frame);
        } catch (const Error&) {
        }
        film.playedSounds(frame);
        film.fade(frame);
        film.frameName(frame);
        shown.push_back(frameHash(film, frame));
    }
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
    for (int frame = 0; frame < film.frameCount(); ++frame)
        if (shown[size_t(frame)] && frameHash(reopened, frame) != shown[size_t(frame)])
            std::abort(); // a frame changed on its way through a save
    return 0;
}
