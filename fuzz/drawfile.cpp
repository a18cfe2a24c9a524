// A Drawfile opened and drawn at its own size.
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
    fuzz::loadAndShow(FileType::Drawfile, fuzz::spanOf(data, size));
    return 0;
}
