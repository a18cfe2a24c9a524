#pragma once
// Tagged chunks: a 4-byte tag, a 4-byte little-endian length that counts the 8 header bytes,
// then the payload. Film files, stamp files and sound libraries are sequences of them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteIO.h"

namespace celvane {

// A tag as the 32-bit word read from the file: the four letters in file order.
constexpr uint32_t makeTag(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) | (uint32_t(uint8_t(s[1])) << 8) | (uint32_t(uint8_t(s[2])) << 16)
        | (uint32_t(uint8_t(s[3])) << 24);
}

// A tag word of at most 0xFFFFFF is a file type written as upper-case hexadecimal text padded
// with zero bytes ("C2A\0" stands for 3114).
uint32_t tagForFileType(int fileType);
// The file type a tag names, or nullopt when the tag is a four-letter tag or not hexadecimal.
std::optional<int> fileTypeOfTag(uint32_t tag);
// The tag as printable text ("ACEF", "C2A").
std::string tagText(uint32_t tag);

struct Chunk {
    uint32_t tag = 0;
    size_t offset = 0; // of the chunk header within the sequence
    ByteSpan payload;
};

// Walks a chunk sequence. A length below 8 or past the end stops the walk: what came before
// is kept, and `damaged` says the sequence did not end cleanly.
class ChunkSequence {
public:
    explicit ChunkSequence(ByteSpan data);

    const std::vector<Chunk>& chunks() const { return chunks_; }
    bool damaged() const { return damaged_; }
    // The first chunk with this tag, or null.
    const Chunk* find(uint32_t tag) const;

private:
    std::vector<Chunk> chunks_;
    bool damaged_ = false;
};

// Writes a chunk header; the length counts the header.
void writeChunkHeader(ByteWriter& out, uint32_t tag, uint32_t length);

} // namespace celvane
