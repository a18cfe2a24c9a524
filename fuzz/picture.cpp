// A picture file of the kind the build names (FUZZ_FILE_TYPE, a FileType) opened and every frame
// shown: GIF frames unpacked, sprites shown, Drawfiles and metafiles drawn (shrunk when large).
#include "FuzzSupport.h"
#include "film/FileType.h"

using namespace celvane;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::loadAndShow(FileType::FUZZ_FILE_TYPE, fuzz::spanOf(data, size));
    return 0;
}
