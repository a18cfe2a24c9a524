#include "import/RecordFields.h"

#include <cstring>

namespace celvane {

float RecordFields::f32(size_t at) const
{
    const uint32_t bits = u32(at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

const uint8_t* RecordFields::need(size_t at, size_t n) const
{
    if (at > data_.size() || n > data_.size() - at)
        throw ArchiveError("a record is shorter than its fields");
    return data_.data() + at;
}

} // namespace celvane
