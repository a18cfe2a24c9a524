#include "film/FilmDelta.h"

#include <cstring>
#include <functional>
#include <string_view>

#include "base/Chunks.h"
#include "base/Errors.h"
#include "film/FilmBlock.h"
#include "film/FilmFile.h"

namespace celvane {

namespace {
constexpr size_t kNone = SIZE_MAX;

struct Part {
    size_t offset = 0;
    size_t length = 0;
};

// The film chunk (its header at `offset`) cut into its header with the block's header, each frame
// record, and what follows the last record; a block whose records do not walk stays whole.
void cutFilmChunk(size_t offset, ByteSpan block, std::vector<Part>& parts)
{
    const size_t start = offset + 8, end = start + block.size();
    const size_t first = block.size() >= FilmBlock::kHeaderSize + 4 ? loadLE32(&block[FilmBlock::FirstFrame]) : 0;
    const size_t before = parts.size();
    if (first >= FilmBlock::kHeaderSize && first % 4 == 0 && first <= block.size() - 4) {
        parts.push_back({offset, 8 + first});
        size_t pos = first;
        while (block.size() - pos >= 4) {
            const size_t length = loadLE32(&block[pos]);
            if (length == 0) {
                parts.push_back({start + pos, end - (start + pos)});
                return;
            }
            if (length < FilmBlock::kEmptyRecordSize || length % 4 != 0 || length > block.size() - pos)
                break;
            parts.push_back({start + pos, length});
            pos += length;
        }
    }
    parts.resize(before);
    parts.push_back({offset, end - offset});
}

// A film file cut where its frame records and chunks begin.
std::vector<Part> partsOf(ByteSpan file)
{
    std::vector<Part> parts;
    const ChunkSequence chunks(file);
    size_t pos = 0;
    for (const Chunk& c : chunks.chunks()) {
        if (c.tag == FilmChunk::Film)
            cutFilmChunk(c.offset, c.payload, parts);
        else
            parts.push_back({c.offset, 8 + c.payload.size()});
        pos = c.offset + 8 + c.payload.size();
    }
    if (pos < file.size())
        parts.push_back({pos, file.size() - pos});
    return parts;
}

// The parts of one file, each hashed when first asked.
class HashedParts {
public:
    HashedParts(ByteSpan file, const std::vector<Part>& parts)
        : file_(file), parts_(parts), hashes_(parts.size()), known_(parts.size(), false)
    {
    }
    size_t hash(size_t k)
    {
        if (!known_[k]) {
            const ByteSpan part = file_.subspan(parts_[k].offset, parts_[k].length);
            hashes_[k] = std::hash<std::string_view>()(
                std::string_view(reinterpret_cast<const char*>(part.data()), part.size()));
            known_[k] = true;
        }
        return hashes_[k];
    }

private:
    ByteSpan file_;
    const std::vector<Part>& parts_;
    std::vector<size_t> hashes_;
    std::vector<bool> known_;
};
} // namespace

// Each part of the file is looked for in the base where a change to some frames leaves the rest:
// just after the last part found, compared at once; then round the whole base, among parts of
// the same length and hash, so that many frames of one length (uncoded films) cost one hash each.
FilmDelta::FilmDelta(ByteSpan file, ByteSpan base)
{
    const std::vector<Part> ours = partsOf(file), theirs = partsOf(base);
    baseParts_ = theirs.size();
    HashedParts ourHashes(file, ours), theirHashes(base, theirs);
    size_t next = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
        const Part& p = ours[i];
        const ByteSpan part = file.subspan(p.offset, p.length);
        const auto same = [&](size_t j) {
            return std::memcmp(base.data() + theirs[j].offset, part.data(), p.length) == 0;
        };
        size_t found = next < theirs.size() && theirs[next].length == p.length && same(next) ? next : kNone;
        for (size_t k = 1; k < theirs.size() && found == kNone; ++k) {
            const size_t j = (next + k) % theirs.size();
            if (theirs[j].length == p.length && theirHashes.hash(j) == ourHashes.hash(i) && same(j))
                found = j;
        }
        if (found == kNone) {
            keep(part);
            continue;
        }
        pieces_.push_back({p.length, found, false});
        next = found + 1;
    }
    own_.shrink_to_fit();
}

void FilmDelta::keep(ByteSpan part)
{
    pieces_.push_back({part.size(), own_.size(), true});
    own_.insert(own_.end(), part.begin(), part.end());
}

Bytes FilmDelta::rebuild(ByteSpan base) const
{
    const std::vector<Part> parts = partsOf(base);
    bool fits = parts.size() == baseParts_;
    for (const Piece& p : pieces_)
        fits = fits && (p.own || parts[p.at].length == p.length);
    if (!fits)
        throw NotSupportedError("the film no longer holds the frames it had when the change was made");
    size_t total = 0;
    for (const Piece& p : pieces_)
        total += p.length;
    Bytes file;
    file.reserve(total);
    for (const Piece& p : pieces_) {
        const ByteSpan piece = p.own ? ByteSpan(own_).subspan(p.at, p.length) : base.subspan(parts[p.at].offset, p.length);
        file.insert(file.end(), piece.begin(), piece.end());
    }
    return file;
}

size_t FilmDelta::bytes() const { return sizeof(*this) + pieces_.capacity() * sizeof(Piece) + own_.capacity(); }

} // namespace celvane
