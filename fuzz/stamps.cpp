// A stamp file read as the stamp picker reads it, every stamp's picture made and named.
#include <cstdlib>

#include "FuzzSupport.h"
#include "base/Errors.h"
#include "film/FileType.h"
#include "stamps/StampSet.h"

using namespace celvane;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StampSet stamps;
    try {
        stamps.add(FileType::StampFile, fuzz::spanOf(data, size));
    } catch (const Error&) {
        return 0;
    }
    for (int n = 0; n < stamps.count(); ++n) {
        Graphic* graphic;
        int local;
        if (!stamps.graphics().locate(n, &graphic, &local))
            std::abort(); // the set counts a stamp it cannot find
        try {
            if (!fuzz::drewShrunk(*graphic)) {
                stamps.name(n);
                stamps.image(n);
            }
            stamps.transform(n);
        } catch (const Error&) {
        }
    }
    return 0;
}
