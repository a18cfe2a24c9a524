// A wave file read, made ready to play, and written back.
#include "FuzzSupport.h"
#include "base/Errors.h"
#include "sound/WaveFile.h"

using namespace celvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<Sound> sound;
    try {
        sound = readWave(fuzz::spanOf(data, size));
    } catch (const Error&) {
        return 0;
    }
    sound->checkPlayability();
    Bytes written;
    ByteWriter out(&written);
    sound->writeWave(&out);
    return 0;
}
