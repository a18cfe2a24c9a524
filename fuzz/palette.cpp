// A palette file read into palettes of each size a film has, and written back.
#include "FuzzSupport.h"
#include "base/Errors.h"
#include "gfx/Palette.h"

using namespace celvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int depth : {1, 4, 8}) {
        PaletteRef palette = Palette::make();
        palette->setDefault(depth);
        try {
            const PalFileRead read = palette->readPalFile(fuzz::spanOf(data, size));
            if (!read.applied())
                read.refusal();
        } catch (const Error&) {
            continue;
        }
        Bytes written;
        ByteWriter out(&written);
        palette->writePalFile(&out);
    }
    return 0;
}
