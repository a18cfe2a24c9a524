// A film file opened, every frame decoded, its sounds and fades looked at, and saved again.
#include "FuzzSupport.h"
#include "base/Errors.h"
#include "film/FileType.h"
#include "film/Film.h"

using namespace celvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ByteSpan bytes = fuzz::spanOf(data, size);
    Film film;
    try {
        film.load(0, nullptr, &bytes, FileType::Film);
    } catch (const Error&) {
        return 0;
    }
    for (int frame = 0; frame < film.frameCount(); ++frame) {
        try {
            film.makeCurrent(frame);
        } catch (const Error&) {
            continue;
        }
        film.playedSounds(frame);
        film.fade(frame);
        film.frameName(frame);
    }
    Bytes saved;
    ByteWriter out(&saved);
    try {
        film.save(&out, FileType::Film, false);
    } catch (const Error&) {
    }
    return 0;
}
