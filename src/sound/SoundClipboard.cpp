#include "sound/SoundClipboard.h"

#include "sound/SoundLibrary.h"

namespace celvane {

namespace {
constexpr uint32_t kEndMark = 0xFFFFFFFF;
constexpr size_t kChunkHeader = 8;
} // namespace

Bytes copySounds(const SoundLibrary& library)
{
    Bytes data;
    ByteWriter w(&data);
    if (library.writeChunkSet(&w, true) > 0)
        w.u32(kEndMark);
    return data;
}

std::vector<int> pasteSounds(SoundLibrary& library, ByteSpan data)
{
    // The chunks run up to the end mark; a length that would step past the data ends them too.
    size_t at = 0;
    while (at + kChunkHeader <= data.size() && loadLE32(&data[at]) != kEndMark) {
        const uint32_t length = loadLE32(&data[at + 4]);
        if (length < kChunkHeader || length > data.size() - at)
            break;
        at += length;
    }
    return library.readChunkSet(data.first(at));
}

} // namespace celvane
