#include "film/FilmBlock.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "base/Errors.h"
#include "base/StringTable.h"
#include "film/FilmFile.h"

namespace celvane {

namespace {
constexpr size_t kGrowthSlack = 32768;
}

FilmBlock::FilmBlock() : block_(std::make_shared<LocalMemoryBlock>(kGrowthSlack)) {}

void FilmBlock::allocate(size_t size)
{
    auto fresh = std::make_shared<LocalMemoryBlock>(kGrowthSlack);
    fresh->allocate(size);
    fresh->lock();
    block_ = std::move(fresh);
}

LocalMemoryBlock& FilmBlock::owned()
{
    if (block_.use_count() > 1) {
        const std::shared_ptr<LocalMemoryBlock> shared = std::exchange(block_, {});
        allocate(shared->size());
        std::memcpy(block_->lockedAddress(), shared->lockedAddress(), shared->size());
    } else {
        // A copy let go on another thread may just have finished reading these bytes.
        std::atomic_thread_fence(std::memory_order_acquire);
    }
    return *block_;
}

uint8_t* FilmBlock::data() { return owned().lockedAddress(); }

const uint8_t* FilmBlock::data() const
{
    const uint8_t* p = block_->lockedAddress();
    if (!p)
        throw MemoryError("the film block has no memory");
    return p;
}

uint32_t FilmBlock::headerWord(size_t offset) const { return loadLE32(data() + offset); }

void FilmBlock::setHeaderWord(size_t offset, uint32_t value) { storeLE32(data() + offset, value); }

void FilmBlock::assign(ByteSpan source)
{
    ByteReader r(source, IDS_FORMAT_NOT_UNDERSTOOD);
    if (source.size() < kHeaderSize + 4)
        r.fail("film block shorter than its header");
    const size_t first = r.u32At(FirstFrame);
    if (first < kHeaderSize || first % 4 != 0)
        r.fail("bad first frame offset");
    // Walk the records before taking anything, so a damaged block leaves us untouched.
    size_t pos = first;
    for (;;) {
        const uint32_t length = r.u32At(pos);
        if (length == 0)
            break;
        if (length < kEmptyRecordSize || length % 4 != 0 || length > source.size() - pos)
            r.fail("frame record length does not fit");
        if (r.u32At(pos + length - 4) != length)
            r.fail("frame record lengths disagree");
        pos += length;
    }
    const size_t used = pos + 4; // through the zero word; anything after it is not ours
    allocate(used);
    std::memcpy(data(), source.data(), used);
    gapOffset_ = -1;
    gapSize_ = 0;
    index_.clear();
    rebuildIndex();
    updateSizeWord();
}

void FilmBlock::createEmpty(uint32_t displayWidth, uint32_t displayHeight, uint32_t modeWord, bool compressed)
{
    allocate(kHeaderSize + 4);
    uint8_t* p = data();
    std::memset(p, 0, kHeaderSize + 4);
    storeLE32(p + TotalSize, kHeaderSize + 4);
    p[Name] = 13; // an empty name
    storeLE32(p + FirstFrame, kHeaderSize);
    storeLE32(p + Width, displayWidth);
    storeLE32(p + Height, displayHeight);
    storeLE32(p + Mode, modeWord);
    storeLE32(p + Compressed, compressed ? 1 : 2);
    gapOffset_ = -1;
    gapSize_ = 0;
    index_.clear();
}

std::string FilmBlock::name() const
{
    const uint8_t* p = data() + Name;
    std::string s;
    for (size_t i = 0; i < kNameLength && p[i] >= 32; ++i)
        s += char(p[i]);
    return s;
}

void FilmBlock::setName(const std::string& name)
{
    uint8_t* p = data() + Name;
    std::memset(p, 0, kNameLength);
    std::memcpy(p, name.data(), std::min(name.size(), kNameLength));
}

ByteSpan FilmBlock::record(int frame) const
{
    const FrameIndexEntry& e = index_[size_t(frame)];
    return ByteSpan(data() + e.offset, e.length);
}

int FilmBlock::countSelected() const
{
    return int(std::count_if(index_.begin(), index_.end(), [](const FrameIndexEntry& e) { return e.selected; }));
}

void FilmBlock::rebuildIndex()
{
    // Frames keep their marks by position; callers insert and erase entries to match.
    const uint8_t* p = data();
    size_t pos = firstFrameOffset();
    size_t n = 0;
    for (;;) {
        if (gapOffset_ >= 0 && pos == size_t(gapOffset_))
            pos += gapSize_;
        const uint32_t length = loadLE32(p + pos);
        if (length == 0)
            break;
        if (n == index_.size())
            index_.push_back({});
        index_[n].offset = pos;
        index_[n].length = length;
        ++n;
        pos += length;
    }
    index_.resize(n);
}

void FilmBlock::updateSizeWord()
{
    setHeaderWord(TotalSize, uint32_t(block_->size() - gapSize_));
}

void FilmBlock::moveTail(ptrdiff_t delta, size_t position)
{
    if (delta == 0)
        return;
    owned().insertBytes(delta, position);
    const size_t removed = delta < 0 ? size_t(-delta) : 0;
    if (gapOffset_ >= 0 && size_t(gapOffset_) >= position + removed)
        gapOffset_ += delta;
}

void FilmBlock::insertRecord(int frame, ByteSpan record)
{
    size_t at;
    if (frame < frameCount())
        at = index_[size_t(frame)].offset;
    else if (frameCount() > 0)
        at = index_.back().offset + index_.back().length;
    else
        at = firstFrameOffset();
    if (gapOffset_ >= 0 && size_t(gapOffset_) == at && gapSize_ >= record.size()) {
        gapOffset_ += ptrdiff_t(record.size());
        gapSize_ -= record.size();
    } else {
        moveTail(ptrdiff_t(record.size()), at);
    }
    std::memcpy(data() + at, record.data(), record.size());
    index_.insert(index_.begin() + frame, FrameIndexEntry{});
    rebuildIndex();
    updateSizeWord();
}

void FilmBlock::replaceRecord(int frame, ByteSpan record)
{
    size_t offset = index_[size_t(frame)].offset;
    const size_t oldLength = index_[size_t(frame)].length;
    const size_t newLength = record.size();
    const ptrdiff_t delta = ptrdiff_t(newLength) - ptrdiff_t(oldLength);

    if (delta != 0 && gapOffset_ >= 0 && size_t(gapOffset_) == offset + oldLength) {
        // The gap follows the record: the record grows into it or gives bytes back to it.
        if (delta > ptrdiff_t(gapSize_)) {
            const size_t extra = size_t(delta) - gapSize_;
            owned().insertBytes(ptrdiff_t(extra), size_t(gapOffset_) + gapSize_);
            gapSize_ += extra;
        }
        gapOffset_ += delta;
        gapSize_ -= size_t(delta);
    } else if (delta != 0 && gapOffset_ >= 0 && size_t(gapOffset_) + gapSize_ == offset) {
        // The gap precedes the record: keep the record's end where it is.
        if (delta > ptrdiff_t(gapSize_)) {
            const size_t extra = size_t(delta) - gapSize_;
            owned().insertBytes(ptrdiff_t(extra), size_t(gapOffset_));
            gapSize_ += extra;
            offset += extra;
        }
        offset -= size_t(delta);
        gapSize_ -= size_t(delta);
    } else if (delta > 0) {
        moveTail(delta, offset + oldLength);
    } else if (delta < 0) {
        moveTail(delta, offset + newLength);
    }
    std::memcpy(data() + offset, record.data(), newLength);
    rebuildIndex();
    updateSizeWord();
}

void FilmBlock::removeRecords(int first, int last)
{
    const size_t from = index_[size_t(first)].offset;
    const size_t to = index_[size_t(last)].offset + index_[size_t(last)].length;
    if (gapOffset_ >= 0 && size_t(gapOffset_) >= from && size_t(gapOffset_) < to) {
        gapOffset_ = -1; // the gap lay between the removed records and goes with them
        gapSize_ = 0;
    }
    moveTail(-ptrdiff_t(to - from), from);
    index_.erase(index_.begin() + first, index_.begin() + last + 1);
    rebuildIndex();
    updateSizeWord();
}

void FilmBlock::reserveGap(int beforeFrame, size_t bytes)
{
    closeGap();
    const size_t at = beforeFrame == 0 ? firstFrameOffset()
                                       : index_[size_t(beforeFrame - 1)].offset + index_[size_t(beforeFrame - 1)].length;
    moveTail(ptrdiff_t(bytes), at);
    std::memset(data() + at, 0, bytes);
    gapOffset_ = ptrdiff_t(at);
    gapSize_ = bytes;
    rebuildIndex();
    updateSizeWord();
}

void FilmBlock::closeGap()
{
    // Without a gap nothing changes, and bytes a copy shares stay shared.
    if (gapOffset_ < 0 || gapSize_ == 0) {
        gapOffset_ = -1;
        gapSize_ = 0;
        return;
    }
    owned().insertBytes(-ptrdiff_t(gapSize_), size_t(gapOffset_));
    gapOffset_ = -1;
    gapSize_ = 0;
    rebuildIndex();
    updateSizeWord();
}

size_t FilmBlock::storedSize(bool selectionOnly) const
{
    size_t size = firstFrameOffset() + 4;
    for (const FrameIndexEntry& e : index_)
        if (!selectionOnly || e.selected)
            size += e.length;
    return size;
}

size_t FilmBlock::frameDataSize() const { return storedSize(false) - firstFrameOffset() - 4; }

void FilmBlock::write(ByteWriter& out, bool selectionOnly) const
{
    const uint8_t* p = data();
    out.u32(uint32_t(storedSize(selectionOnly)));
    out.bytes(p + 4, firstFrameOffset() - 4);
    for (const FrameIndexEntry& e : index_)
        if (!selectionOnly || e.selected)
            out.bytes(p + e.offset, e.length);
    out.u32(0);
}

void FilmBlock::writeChunk(ByteWriter& out, bool selectionOnly) const
{
    writeChunkHeader(out, FilmChunk::Film, uint32_t(storedSize(selectionOnly) + 8));
    write(out, selectionOnly);
}

} // namespace celvane
