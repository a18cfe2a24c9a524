#include "base/CodePacker.h"

namespace celvane {

void CodePacker::finish(End end)
{
    if (used_ > 0) {
        // A word always fits: the stage is handed over as soon as it is full.
        storeLE32(stage_.data() + fill_, uint32_t(bits_));
        fill_ += end == End::Word ? 4 : size_t(used_ + 7) / 8;
    }
    bits_ = 0;
    used_ = 0;
    flush();
}

void CodePacker::flush()
{
    out_.bytes(stage_.data(), fill_);
    fill_ = 0;
}

} // namespace celvane
