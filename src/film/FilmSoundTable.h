#pragma once
// The sounds attached to each frame: one record per frame, in frame order, in one buffer laid
// out exactly as the DIR1 chunk of a film file, plus the film's own sound library (kept as the
// bytes of its SOUN chunk until sounds are modelled).

#include <vector>

#include "base/ByteIO.h"
#include "film/Graphic.h"

namespace celvane {

class FilmSoundTable {
public:
    static constexpr size_t kEntryBytes = 16;

    int recordCount() const { return count_; }
    // Replaces every record; throws ArchiveError unless `records` is exactly `frames` well-formed
    // records (length, 16-byte entries, the same length again).
    void assign(ByteSpan records, int frames);
    void clear();

    void insertEmpty(int frame, int n = 1);
    void remove(int first, int last);

    int entryCount(int frame) const;
    FrameSoundEntry entry(int frame, int k) const;
    // Replaces entry k, or appends when k equals the entry count.
    void setEntry(int frame, int k, const FrameSoundEntry& entry);

    ByteSpan record(int frame) const;
    bool anySounds() const { return bytes_.size() > size_t(count_) * 8; }

    const Bytes& library() const { return library_; }
    void setLibrary(Bytes library) { library_ = std::move(library); }

private:
    // Byte offset of a frame's record. Sequential access (forwards or backwards) is cheap: the
    // cursor remembers the last frame found and the trailing length word allows a step back.
    size_t offsetOf(int frame) const;
    uint32_t lengthAt(size_t offset) const { return loadLE32(&bytes_[offset]); }
    void reserveFor(size_t size);

    Bytes bytes_;
    int count_ = 0;
    Bytes library_;
    mutable int cursorFrame_ = 0;
    mutable size_t cursorOffset_ = 0;
};

} // namespace celvane
