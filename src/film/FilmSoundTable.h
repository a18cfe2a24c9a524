#pragma once
// The sounds attached to each frame: one record per frame, in frame order, in one buffer laid
// out exactly as the DIR1 chunk of a film file, plus the film's own sound library that the
// entries' sound numbers refer to.

#include <vector>

#include "base/ByteIO.h"
#include "film/Graphic.h"
#include "sound/SoundLibrary.h"

namespace celvane {

class FilmSoundTable {
public:
    static constexpr size_t kEntryBytes = 16;
    // Entries with any of bits 17-23 set are not played and name no sound of the library.
    static constexpr uint32_t kNotPlayedBits = 0x00FE0000;
    static constexpr uint32_t kSoundNumber = 0xFFFF;
    static bool namesASound(const FrameSoundEntry& e) { return (e.words[0] & kNotPlayedBits) == 0; }
    static FrameSoundEntry withSoundNumber(FrameSoundEntry e, int number)
    {
        e.words[0] = (e.words[0] & ~kSoundNumber) | uint32_t(number);
        return e;
    }

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
    void removeEntry(int frame, int k);

    SoundLibrary& library() { return library_; }
    const SoundLibrary& library() const { return library_; }
    // Reads a film's sound chunk set, pointing the entries at where the library holds each sound.
    void loadLibrary(ByteSpan chunkSet);

    // The sounds of `frames` as a film file holds them: their records, with the sounds in use
    // numbered 0, 1, 2, ... in library order, and which library sounds those are.
    struct Saved {
        Bytes records;
        std::vector<int> used;
    };
    Saved forSaving(const std::vector<int>& frames) const;

private:
    // Byte offset of a frame's record. Sequential access (forwards or backwards) is cheap: the
    // cursor remembers the last frame found and the trailing length word allows a step back.
    size_t offsetOf(int frame) const;
    uint32_t lengthAt(size_t offset) const { return loadLE32(&bytes_[offset]); }
    void reserveFor(size_t size);

    Bytes bytes_;
    int count_ = 0;
    SoundLibrary library_;
    mutable int cursorFrame_ = 0;
    mutable size_t cursorOffset_ = 0;
};

} // namespace celvane
