#include "film/FilmDelta.h"

#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "base/Chunks.h"
#include "base/Errors.h"
#include "film/FilmBlock.h"
#include "film/FilmFile.h"

namespace celvane {

namespace {

struct Part {
    size_t offset = 0;
    size_t length = 0;
    uint64_t hash = 0;
};

// The film chunk cut into its header with the block's header, each frame record, and what
// follows the last record; a block whose records do not walk stays whole.
void cutFilmChunk(const Chunk& chunk, std::vector<Part>& parts)
{
    const size_t start = chunk.offset + 8;
    const size_t end = start + chunk.payload.size();
    const ByteSpan block = chunk.payload;
    const size_t first = block.size() >= FilmBlock::kHeaderSize + 4 ? loadLE32(&block[FilmBlock::FirstFrame]) : 0;
    if (first < FilmBlock::kHeaderSize || first % 4 != 0 || first > block.size() - 4) {
        parts.push_back({chunk.offset, end - chunk.offset});
        return;
    }
    const size_t before = parts.size();
    parts.push_back({chunk.offset, 8 + first});
    size_t pos = first;
    while (block.size() - pos >= 4) {
        const size_t length = loadLE32(&block[pos]);
        if (length == 0)
            break;
        if (length < FilmBlock::kEmptyRecordSize || length % 4 != 0 || length > block.size() - pos) {
            parts.resize(before);
            parts.push_back({chunk.offset, end - chunk.offset});
            return;
        }
        parts.push_back({start + pos, length});
        pos += length;
    }
    parts.push_back({start + pos, end - (start + pos)});
}

// A film file cut where its frame records and chunks begin, each part hashed.
std::vector<Part> partsOf(ByteSpan file)
{
    std::vector<Part> parts;
    const ChunkSequence chunks(file);
    size_t pos = 0;
    for (const Chunk& c : chunks.chunks()) {
        if (c.tag == FilmChunk::Film)
            cutFilmChunk(c, parts);
        else
            parts.push_back({c.offset, 8 + c.payload.size()});
        pos = c.offset + 8 + c.payload.size();
    }
    if (pos < file.size())
        parts.push_back({pos, file.size() - pos});
    const std::hash<std::string_view> hash;
    for (Part& p : parts)
        p.hash = hash(std::string_view(reinterpret_cast<const char*>(file.data() + p.offset), p.length));
    return parts;
}

struct PartKey {
    uint64_t hash;
    size_t length;
    bool operator==(const PartKey&) const = default;
};

struct PartKeyHash {
    size_t operator()(const PartKey& k) const { return size_t(k.hash ^ (k.length * 0x9E3779B97F4A7C15ull)); }
};

// Where each distinct part of a file starts.
std::unordered_map<PartKey, size_t, PartKeyHash> placesOf(const std::vector<Part>& parts)
{
    std::unordered_map<PartKey, size_t, PartKeyHash> places;
    for (const Part& p : parts)
        places.emplace(PartKey{p.hash, p.length}, p.offset);
    return places;
}

} // namespace

FilmDelta::FilmDelta(ByteSpan file, ByteSpan base)
{
    const auto inBase = placesOf(partsOf(base));
    for (const Part& p : partsOf(file)) {
        const auto found = inBase.find({p.hash, p.length});
        if (found != inBase.end() && std::memcmp(base.data() + found->second, file.data() + p.offset, p.length) == 0) {
            pieces_.push_back({p.hash, p.length, kInBase});
            continue;
        }
        pieces_.push_back({p.hash, p.length, own_.size()});
        own_.insert(own_.end(), file.begin() + ptrdiff_t(p.offset), file.begin() + ptrdiff_t(p.offset + p.length));
    }
    own_.shrink_to_fit();
}

Bytes FilmDelta::rebuild(ByteSpan base) const
{
    const auto inBase = placesOf(partsOf(base));
    size_t total = 0;
    for (const Piece& p : pieces_)
        total += p.length;
    Bytes file;
    file.reserve(total);
    for (const Piece& p : pieces_) {
        size_t from = p.own;
        ByteSpan source = own_;
        if (p.own == kInBase) {
            const auto found = inBase.find({p.hash, p.length});
            if (found == inBase.end())
                throw NotSupportedError("the film no longer holds the frames it had when the change was made");
            from = found->second;
            source = base;
        }
        const ByteSpan piece = source.subspan(from, p.length);
        file.insert(file.end(), piece.begin(), piece.end());
    }
    return file;
}

size_t FilmDelta::bytes() const { return sizeof(*this) + pieces_.capacity() * sizeof(Piece) + own_.capacity(); }

} // namespace celvane
