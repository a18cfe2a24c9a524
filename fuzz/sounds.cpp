// A sound file (a sound library, a film's sounds or a wave file) added to the sound picker's
// library, every sound made ready to play and written as a wave file.
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
    library.writeChunkSet(nullptr, false);
    return 0;
}
