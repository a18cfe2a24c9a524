// The sound clipboard's form pasted into a sound library.
#include "FuzzSupport.h"
#include "base/Errors.h"
#include "sound/SoundClipboard.h"
#include "sound/SoundLibrary.h"

using namespace celvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SoundLibrary library;
    try {
        pasteSounds(library, fuzz::spanOf(data, size));
    } catch (const Error&) {
        return 0;
    }
    for (int i = 0; i < library.count(); ++i)
        library.sound(i)->checkPlayability();
    return 0;
}
