#pragma once
// The film block: a 64-byte header, the coded frame records one after another, and a zero
// word. It is kept in memory exactly as it is stored in a film file. A reserved gap (a hole
// the frame walk skips) lets many frames be added in a row without moving the rest each time.
// A copy shares the bytes until either side changes them, so that a copy taken for writing on
// another thread costs nothing; bytes that are shared are only ever read.

#include <memory>
#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "gfx/MemoryBlock.h"

namespace celvane {

struct FrameIndexEntry {
    bool selected = false;
    size_t offset = 0; // of the record within the block
    size_t length = 0; // of the whole record
};

class FilmBlock {
public:
    static constexpr size_t kHeaderSize = 64;
    static constexpr size_t kEmptyRecordSize = 8;
    // Header offsets.
    enum : size_t { TotalSize = 0, Name = 4, FirstFrame = 16, Width = 20, Height = 24, Mode = 28,
                    Compressed = 32, Flags = 36 };
    static constexpr size_t kNameLength = 12;

    FilmBlock();

    // Takes a block read from a file; throws ArchiveError when the header or the frame records
    // do not hold together, leaving this block as it was.
    void assign(ByteSpan block);
    // A block with a header and no frames.
    void createEmpty(uint32_t displayWidth, uint32_t displayHeight, uint32_t modeWord, bool compressed);

    uint32_t headerWord(size_t offset) const;
    void setHeaderWord(size_t offset, uint32_t value);
    // The film name: header bytes 4-15 up to the first byte below 32.
    std::string name() const;
    void setName(const std::string& name);

    int frameCount() const { return int(index_.size()); }
    ByteSpan record(int frame) const;
    bool isSelected(int frame) const { return index_[size_t(frame)].selected; }
    void setSelected(int frame, bool on) { index_[size_t(frame)].selected = on; }
    int countSelected() const;

    // Places a record before frame `frame` (frameCount() appends).
    void insertRecord(int frame, ByteSpan record);
    void replaceRecord(int frame, ByteSpan record);
    void removeRecords(int first, int last);

    void reserveGap(int beforeFrame, size_t bytes);
    size_t gapSize() const { return gapSize_; }
    void closeGap();

    // The block as stored: all records, or only the selected ones.
    void write(ByteWriter& out, bool selectionOnly) const;
    // The same as a film file's film chunk.
    void writeChunk(ByteWriter& out, bool selectionOnly) const;
    size_t storedSize(bool selectionOnly) const;
    // The frames' records alone, as stored.
    size_t frameDataSize() const;

private:
    // For changing the bytes: first makes them this block's own when a copy shares them.
    uint8_t* data();
    LocalMemoryBlock& owned();
    const uint8_t* data() const;
    void allocate(size_t size);
    size_t firstFrameOffset() const { return headerWord(FirstFrame); }
    // Makes room (positive) or removes bytes (negative) at `position`, keeping the gap where it
    // belongs and the header's size word right.
    void moveTail(ptrdiff_t delta, size_t position);
    void rebuildIndex();
    void updateSizeWord();

    // Kept locked while allocated, so that reading it changes nothing in it.
    std::shared_ptr<LocalMemoryBlock> block_;
    std::vector<FrameIndexEntry> index_;
    ptrdiff_t gapOffset_ = -1;
    size_t gapSize_ = 0;
};

} // namespace celvane
