#include "base/Chunks.h"

#include <cstdio>

namespace celvane {

uint32_t tagForFileType(int fileType)
{
    char text[9] = {};
    std::snprintf(text, sizeof text, "%X", unsigned(fileType) & 0xFFFFFFu);
    uint32_t tag = 0;
    for (int i = 0; i < 4 && text[i]; ++i)
        tag |= uint32_t(uint8_t(text[i])) << (8 * i);
    return tag;
}

std::optional<int> fileTypeOfTag(uint32_t tag)
{
    if (tag > 0xFFFFFF || tag == 0)
        return std::nullopt;
    int value = 0;
    for (int i = 0; i < 3; ++i) {
        const int c = int((tag >> (8 * i)) & 0xFF);
        if (c == 0)
            break;
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

std::string tagText(uint32_t tag)
{
    std::string s;
    for (int i = 0; i < 4; ++i) {
        const char c = char((tag >> (8 * i)) & 0xFF);
        if (c == 0)
            break;
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

ChunkSequence::ChunkSequence(ByteSpan data)
{
    size_t pos = 0;
    while (pos < data.size()) {
        if (data.size() - pos < 8) {
            damaged_ = true;
            break;
        }
        const uint32_t tag = loadLE32(&data[pos]);
        const uint32_t length = loadLE32(&data[pos + 4]);
        if (length < 8 || length > data.size() - pos) {
            damaged_ = true;
            break;
        }
        chunks_.push_back({tag, pos, data.subspan(pos + 8, length - 8)});
        pos += length;
    }
}

const Chunk* ChunkSequence::find(uint32_t tag) const
{
    for (const Chunk& c : chunks_)
        if (c.tag == tag)
            return &c;
    return nullptr;
}

void writeChunkHeader(ByteWriter& out, uint32_t tag, uint32_t length)
{
    out.u32(tag);
    out.u32(length);
}

} // namespace celvane
