// A sound file (a sound library, a film's sounds or a wave file) added to the sound picker's
// library, every sound made ready to play and written as a wave file; the library saved and
// read again must give back the same sounds under the same names (cut to the length files keep).
#include <cstdlib>

#include "FuzzSupport.h"
#include "base/Errors.h"
#include "sound/SoundFiles.h"

using namespace celvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SoundLibrary library;
    try {
        loadSounds(library, fuzz::spanOf(data, size), "fuzz");
    } catch (const Error&) {
        return 0;
    }
    for (int i = 0; i < library.count(); ++i) {
        library.sound(i)->checkPlayability();
        library.sound(i)->writeWave(nullptr);
    }
    Bytes saved;
    ByteWriter out(&saved);
    library.writeChunkSet(&out, false);
    SoundLibrary reread;
    try {
        reread.readChunkSet(saved);
    } catch (const Error&) {
        std::abort(); // a library we saved does not read
    }
    if (reread.count() != library.count())
        std::abort();
    for (int i = 0; i < library.count(); ++i) {
        const Sound& before = *library.sound(i);
        const Sound& after = *reread.sound(i);
        // The sets of logarithmic or ADPCM sounds keep each rate as a logarithm: the nearest
        // rate it holds comes back.
        const bool logarithmicRate = before.storedCode() == Sound::Logarithmic || before.storedCode() == Sound::ImaAdpcm;
        const bool rateKept = after.rate() == before.rate() ||
                              (logarithmicRate && after.rate() == rateOfLogCode(logRateCode(before.rate())));
        if (after.playCode() != before.playCode() || after.playData() != before.playData() || !rateKept ||
            library.name(i).rfind(reread.name(i), 0) != 0)
            std::abort(); // a sound changed on its way through a save, or its name more than shortened
    }
    return 0;
}
