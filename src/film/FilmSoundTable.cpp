#include "film/FilmSoundTable.h"

#include <algorithm>
#include <cstdlib>

#include "base/StringTable.h"

namespace celvane {

void FilmSoundTable::reserveFor(size_t size)
{
    if (bytes_.capacity() < size)
        bytes_.reserve(size + 64);
}

void FilmSoundTable::assign(ByteSpan records, int frames)
{
    ByteReader r(records, IDS_FORMAT_NOT_UNDERSTOOD);
    for (int i = 0; i < frames; ++i) {
        const size_t start = r.position();
        const uint32_t length = r.u32();
        if (length < 8 || (length - 8) % kEntryBytes != 0)
            r.fail("bad sound record length");
        r.seek(start + length - 4);
        if (r.u32() != length)
            r.fail("sound record lengths disagree");
    }
    if (r.remaining() != 0)
        r.fail("sound records do not match the frames");
    bytes_.assign(records.begin(), records.end());
    count_ = frames;
    cursorFrame_ = 0;
    cursorOffset_ = 0;
}

void FilmSoundTable::clear()
{
    bytes_.clear();
    library_.clear();
    count_ = 0;
    cursorFrame_ = 0;
    cursorOffset_ = 0;
}

void FilmSoundTable::loadLibrary(ByteSpan chunkSet)
{
    library_.clear();
    const std::vector<int> places = library_.readChunkSet(chunkSet);
    // Equal sounds are held once, so later sounds may have moved up.
    for (int frame = 0; frame < count_; ++frame) {
        for (int k = 0; k < entryCount(frame); ++k) {
            FrameSoundEntry e = entry(frame, k);
            const uint32_t number = e.words[0] & kSoundNumber;
            if (namesASound(e) && number < places.size() && int(number) != places[number])
                setEntry(frame, k, withSoundNumber(e, places[number]));
        }
    }
}

FilmSoundTable::Saved FilmSoundTable::forSaving(const std::vector<int>& frames) const
{
    Saved saved;
    std::vector<int> newNumber(size_t(library_.count()), -1);
    for (int frame : frames)
        for (int k = 0; k < entryCount(frame); ++k) {
            const FrameSoundEntry e = entry(frame, k);
            if (namesASound(e) && int(e.words[0] & kSoundNumber) < library_.count())
                newNumber[e.words[0] & kSoundNumber] = 0;
        }
    for (int i = 0; i < library_.count(); ++i)
        if (newNumber[size_t(i)] == 0) {
            newNumber[size_t(i)] = int(saved.used.size());
            saved.used.push_back(i);
        }

    ByteWriter w(&saved.records);
    for (int frame : frames) {
        const uint32_t length = uint32_t(8 + kEntryBytes * size_t(entryCount(frame)));
        w.u32(length);
        for (int k = 0; k < entryCount(frame); ++k) {
            FrameSoundEntry e = entry(frame, k);
            const uint32_t number = e.words[0] & kSoundNumber;
            if (namesASound(e) && number < newNumber.size())
                e = withSoundNumber(e, newNumber[number]);
            for (uint32_t word : e.words)
                w.u32(word);
        }
        w.u32(length);
    }
    return saved;
}

size_t FilmSoundTable::offsetOf(int frame) const
{
    if (frame < 0 || frame > count_)
        std::abort(); // callers check frame numbers; this is a programming error
    if (cursorFrame_ > count_ || std::abs(frame - cursorFrame_) > frame) {
        cursorFrame_ = 0;
        cursorOffset_ = 0;
    }
    while (cursorFrame_ < frame) {
        cursorOffset_ += lengthAt(cursorOffset_);
        ++cursorFrame_;
    }
    while (cursorFrame_ > frame) {
        cursorOffset_ -= lengthAt(cursorOffset_ - 4);
        --cursorFrame_;
    }
    return cursorOffset_;
}

void FilmSoundTable::insertEmpty(int frame, int n)
{
    const size_t at = offsetOf(frame);
    reserveFor(bytes_.size() + size_t(n) * 8);
    Bytes empty(size_t(n) * 8);
    for (int i = 0; i < n; ++i) {
        storeLE32(&empty[size_t(i) * 8], 8);
        storeLE32(&empty[size_t(i) * 8 + 4], 8);
    }
    bytes_.insert(bytes_.begin() + ptrdiff_t(at), empty.begin(), empty.end());
    count_ += n;
}

void FilmSoundTable::remove(int first, int last)
{
    const size_t from = offsetOf(first);
    const size_t to = offsetOf(last + 1);
    bytes_.erase(bytes_.begin() + ptrdiff_t(from), bytes_.begin() + ptrdiff_t(to));
    count_ -= last - first + 1;
    cursorFrame_ = first;
    cursorOffset_ = from;
}

int FilmSoundTable::entryCount(int frame) const
{
    return int((lengthAt(offsetOf(frame)) - 8) / kEntryBytes);
}

FrameSoundEntry FilmSoundTable::entry(int frame, int k) const
{
    const size_t at = offsetOf(frame) + 4 + size_t(k) * kEntryBytes;
    FrameSoundEntry e;
    for (int w = 0; w < 4; ++w)
        e.words[w] = loadLE32(&bytes_[at + size_t(w) * 4]);
    return e;
}

void FilmSoundTable::setEntry(int frame, int k, const FrameSoundEntry& e)
{
    const size_t at = offsetOf(frame);
    const int count = entryCount(frame);
    if (k >= count) {
        const uint32_t length = uint32_t(8 + (count + 1) * kEntryBytes);
        reserveFor(bytes_.size() + kEntryBytes);
        bytes_.insert(bytes_.begin() + ptrdiff_t(at + 4 + size_t(count) * kEntryBytes), kEntryBytes, 0);
        storeLE32(&bytes_[at], length);
        storeLE32(&bytes_[at + length - 4], length);
        k = count;
    }
    uint8_t* p = &bytes_[at + 4 + size_t(k) * kEntryBytes];
    for (int w = 0; w < 4; ++w)
        storeLE32(p + w * 4, e.words[w]);
}

void FilmSoundTable::removeEntry(int frame, int k)
{
    const size_t at = offsetOf(frame);
    const int count = entryCount(frame);
    if (k < 0 || k >= count)
        return;
    const size_t entry = at + 4 + size_t(k) * kEntryBytes;
    bytes_.erase(bytes_.begin() + ptrdiff_t(entry), bytes_.begin() + ptrdiff_t(entry + kEntryBytes));
    const uint32_t length = uint32_t(8 + (count - 1) * kEntryBytes);
    storeLE32(&bytes_[at], length);
    storeLE32(&bytes_[at + length - 4], length);
}

} // namespace celvane
