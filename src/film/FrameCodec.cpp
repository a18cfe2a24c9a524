#include "film/FrameCodec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "base/CodePacker.h"

namespace celvane {

namespace {

constexpr uint32_t kMarker = 256;    // the start marker and the end code; never a string
constexpr uint32_t kFirstFree = 257; // first code given to a new string
constexpr uint32_t kCodeLimit = 65536;
constexpr int kFirstWidth = 9;
constexpr int kMaxWidth = 16;

// 1- and 4-bit pictures are coded with the leftmost pixel in the low bits of each byte. Both
// mappings are their own inverse, so one table serves both directions; null means unchanged.
const uint8_t* byteMapping(int bitsPerPixel)
{
    static const auto tables = [] {
        std::array<std::array<uint8_t, 256>, 2> t{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned reversed = 0;
            for (int bit = 0; bit < 8; ++bit)
                reversed |= ((i >> bit) & 1u) << (7 - bit);
            t[0][i] = uint8_t(reversed);
            t[1][i] = uint8_t((i << 4) | (i >> 4));
        }
        return t;
    }();
    switch (bitsPerPixel) {
    case 1:
        return tables[0].data();
    case 4:
        return tables[1].data();
    case 2:
    case 8:
    case 16:
    case 32:
        return nullptr;
    default:
        throw NotSupportedError("frame depth of " + std::to_string(bitsPerPixel) + " bits per pixel");
    }
}

// Copies one row between the picture and the coded byte stream, mapped when `mapping` is set.
void copyRow(uint8_t* to, const uint8_t* from, size_t n, const uint8_t* mapping)
{
    if (mapping)
        std::transform(from, from + n, to, [mapping](uint8_t b) { return mapping[b]; });
    else
        std::memcpy(to, from, n);
}

// Bytes in the picture. Offsets and string lengths within it are kept in 32 bits.
size_t imageBytes(int rows, size_t rowBytes)
{
    constexpr size_t limit = std::numeric_limits<int32_t>::max();
    if (rows < 0 || (rows > 0 && rowBytes > limit / size_t(rows)))
        throw NotSupportedError("frame picture too large to code");
    return size_t(rows) * rowBytes;
}

// The code width, which both directions grow by the same rule: after data code j the width
// grows once 257 + j reaches 2^width, up to 16 bits.
class CodeWidth {
public:
    int bits() const { return bits_; }
    // Data codes passed so far.
    uint32_t codes() const { return codes_; }
    void afterCode()
    {
        if (bits_ < kMaxWidth && kFirstFree + codes_ >= (1u << bits_))
            ++bits_;
        ++codes_;
    }

private:
    int bits_ = kFirstWidth;
    uint32_t codes_ = 0;
};

// The encoder's dictionary, mapping (code, byte) to the code of the longer string. Each code
// remembers the child it gained or was found with last, which answers most steps in a picture;
// the rest go to an open-addressed hash table kept small (4 bytes a slot) to stay in cache.
class EncoderDictionary {
public:
    // The tables are kept per thread between frames: films code frame after frame, and fresh
    // tables of this size would come from the system, zeroed page by page, every time.
    EncoderDictionary()
    {
        struct Tables {
            std::unique_ptr<uint32_t[]> recent = std::make_unique_for_overwrite<uint32_t[]>(kCodeLimit);
            std::unique_ptr<uint16_t[]> prefix = std::make_unique_for_overwrite<uint16_t[]>(kCodeLimit);
            std::unique_ptr<uint32_t[]> slots = std::make_unique_for_overwrite<uint32_t[]>(kSlots);
        };
        static thread_local Tables tables;
        recent_ = tables.recent.get();
        prefix_ = tables.prefix.get();
        slots_ = tables.slots.get();
        std::fill_n(slots_, kSlots, 0u);
        std::fill_n(recent_, kFirstFree, kNoChild);
    }
    EncoderDictionary(const EncoderDictionary&) = delete;
    EncoderDictionary& operator=(const EncoderDictionary&) = delete;

    // The code of string `code` followed by `byte`, or 0 when that string is not known.
    uint32_t find(uint32_t code, uint8_t byte)
    {
        const uint32_t recent = recent_[code];
        if ((recent >> 16) == byte)
            return recent & 0xFFFF;
        const uint32_t tag = tagOf(code, byte);
        for (uint32_t i = slotOf(code, byte);; i = (i + 1) & (kSlots - 1)) {
            const uint32_t slot = slots_[i];
            if (slot == 0) {
                free_ = i;
                return 0;
            }
            const uint32_t child = slot >> 16;
            if ((slot & 0xFFFF) == tag && prefix_[child] == code) {
                recent_[code] = (uint32_t(byte) << 16) | child;
                return child;
            }
        }
    }

    // Gives string `code` + `byte` the next code and returns it, or 0 once all codes are used.
    // Only right after find(code, byte) returned 0, whose search ended at the free slot.
    uint32_t add(uint32_t code, uint8_t byte)
    {
        if (next_ == kCodeLimit)
            return 0;
        slots_[free_] = (next_ << 16) | tagOf(code, byte);
        prefix_[next_] = uint16_t(code);
        recent_[code] = (uint32_t(byte) << 16) | next_;
        recent_[next_] = kNoChild;
        return next_++;
    }

private:
    static constexpr uint32_t kNoChild = 0xFFFFFFFF; // byte field 0xFFFF never matches
    static constexpr int kSlotBits = 17;              // at most half full
    static constexpr uint32_t kSlots = 1u << kSlotBits;

    static uint32_t slotOf(uint32_t code, uint8_t byte)
    {
        return (((code << 8) | byte) * 0x9E3779B1u) >> (32 - kSlotBits);
    }
    // Low half of a slot: the byte and the prefix's low byte, so that most slots that do not
    // match are passed over without looking up the child's prefix.
    static uint32_t tagOf(uint32_t code, uint8_t byte) { return (uint32_t(byte) << 8) | (code & 0xFF); }

    // Per code: last child as byte << 16 | child code.
    uint32_t* recent_;
    // Per code above 256: the code it extends.
    uint16_t* prefix_;
    // child << 16 | tag; children are at least 257, so 0 marks an empty slot.
    uint32_t* slots_;
    uint32_t free_ = 0;
    uint32_t next_ = kFirstFree;
};

// Bytes from the start on which a and b agree, at most `limit`.
size_t commonLength(const uint8_t* a, const uint8_t* b, size_t limit)
{
    size_t n = 0;
    for (uint64_t x, y; n + 8 <= limit; n += 8) {
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y)
            break;
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

// Codes a whole byte stream into a CodePacker. Walking the dictionary is a chain of dependent
// loads, one a byte; pictures are mostly runs of one colour, so a match that starts with a run
// resumes the walk at the longest known string of that byte the run holds.
class StreamEncoder {
public:
    explicit StreamEncoder(ByteWriter& out) : packer_(out)
    {
        for (uint32_t byte = 0; byte < 256; ++byte)
            runs_[byte].assign(1, uint16_t(byte));
        packer_.put(kMarker, kFirstWidth);
    }

    void encode(const uint8_t* stream, size_t size)
    {
        for (size_t pos = 0; pos < size;) {
            const size_t start = pos;
            const size_t left = size - start;
            const uint8_t first = stream[start];

            uint32_t current = first;
            size_t depth = 1;
            if (left > 1 && stream[start + 1] == first) {
                const auto& run = runs_[first];
                depth = commonLength(stream + start, stream + start + 1, std::min(run.size(), left) - 1) + 1;
                current = run[depth - 1];
            }

            for (pos = start + depth; pos < size; ++pos) {
                const uint32_t longer = dictionary_.find(current, stream[pos]);
                if (longer == 0)
                    break;
                current = longer;
            }
            emit(current);
            if (pos < size) {
                const uint8_t next = stream[pos];
                const uint32_t added = dictionary_.add(current, next);
                if (added != 0 && current == runs_[next].back())
                    runs_[next].push_back(uint16_t(added));
            }
        }
        packer_.put(kMarker, width_.bits());
        packer_.finish(CodePacker::End::Word);
    }

private:
    void emit(uint32_t code)
    {
        packer_.put(code, width_.bits());
        width_.afterCode();
    }

    CodePacker packer_;
    EncoderDictionary dictionary_;
    CodeWidth width_;
    // runs_[b][k]: the code of k + 1 bytes b.
    std::array<std::vector<uint16_t>, 256> runs_;
};

// Reads codes least significant bit first from a record's data words.
class CodeReader {
public:
    explicit CodeReader(ByteSpan words) : next_(words.data()), end_(words.data() + words.size()) {}

    uint32_t get(int width)
    {
        if (used_ < width) {
            if (next_ == end_)
                throw ArchiveError("frame record ends before its end code");
            bits_ |= uint64_t(loadLE32(next_)) << used_;
            next_ += 4;
            used_ += 32;
        }
        const uint32_t code = uint32_t(bits_) & ((1u << width) - 1);
        bits_ >>= width;
        used_ -= width;
        return code;
    }

private:
    const uint8_t* next_;
    const uint8_t* end_;
    uint64_t bits_ = 0;
    int used_ = 0;
};

// Room after the decoded bytes, so that short strings move as one 16-byte block.
constexpr size_t kSlack = 16;

// Copies n bytes of earlier output forward; the source ends at or before the destination.
inline void copyEarlier(uint8_t* out, size_t to, size_t from, size_t n)
{
    if (n <= kSlack) {
        uint8_t block[kSlack];
        std::memcpy(block, out + from, kSlack);
        std::memcpy(out + to, block, kSlack);
    } else {
        std::memcpy(out + to, out + from, n);
    }
}

// Decodes the codes of a record into `out` (`size` bytes plus kSlack spare). Every dictionary
// string is a code's string followed by the first byte of the next one, so it already lies in
// the output: each string is kept as where it was output and its length, and each code is one
// copy of earlier output.
void decodeStream(ByteSpan words, size_t maxCodes, uint8_t* out, size_t size)
{
    struct Run {
        uint32_t at;
        uint32_t length;
    };
    CodeReader reader(words);
    if (reader.get(kFirstWidth) != kMarker)
        throw ArchiveError("frame record lacks its start marker");

    // Kept per thread between frames, so that playing a film does not fetch it afresh each time.
    static thread_local const std::unique_ptr<Run[]> table = std::make_unique_for_overwrite<Run[]>(kCodeLimit);
    Run* const strings = table.get();
    CodeWidth width;
    uint32_t next = kFirstFree; // the code the next new string gets
    Run previous{0, 0};         // string of the previous code; length 0 before the first
    size_t pos = 0;
    for (uint32_t code; (code = reader.get(width.bits())) != kMarker; width.afterCode()) {
        if (width.codes() >= maxCodes)
            throw ArchiveError("frame record holds more codes than its table allows");
        Run run{uint32_t(pos), 1};
        if (code < kMarker) {
            if (pos == size)
                throw ArchiveError("frame record decodes to more than the picture");
            out[pos] = uint8_t(code);
        } else if (previous.length == 0 || code > next) {
            throw ArchiveError("frame record uses a code past its dictionary");
        } else {
            const bool selfReferent = code == next; // the previous string and its own first byte
            run.length = selfReferent ? previous.length + 1 : strings[code].length;
            if (run.length > size - pos)
                throw ArchiveError("frame record decodes to more than the picture");
            if (selfReferent) {
                copyEarlier(out, pos, previous.at, previous.length);
                out[pos + previous.length] = out[previous.at];
            } else {
                copyEarlier(out, pos, strings[code].at, run.length);
            }
        }
        if (previous.length != 0 && next < kCodeLimit)
            strings[next++] = Run{previous.at, previous.length + 1};
        previous = run;
        pos += run.length;
    }
    if (pos != size)
        throw ArchiveError("frame record does not fill the picture");
}

} // namespace

void encodeFrame(const FrameRows& picture, Bytes& out)
{
    const uint8_t* mapping = byteMapping(picture.bitsPerPixel);

    // The encoder compares against earlier input, so it wants the stream in one piece.
    const size_t size = imageBytes(picture.rows, picture.rowBytes);
    const uint8_t* stream = picture.topRow;
    if (mapping || (picture.rows > 1 && picture.rowStep != ptrdiff_t(picture.rowBytes))) {
        static thread_local std::vector<uint8_t> gathered; // kept between frames, as the tables are
        gathered.resize(size);
        uint8_t* to = gathered.data();
        for (int y = 0; y < picture.rows; ++y, to += picture.rowBytes)
            copyRow(to, picture.topRow + ptrdiff_t(y) * picture.rowStep, picture.rowBytes, mapping);
        stream = gathered.data();
    }

    ByteWriter writer(&out);
    writer.u32(0); // the length, known at the end
    StreamEncoder(writer).encode(stream, size);
    const size_t length = writer.written() + 4;
    if (length > std::numeric_limits<uint32_t>::max())
        throw NotSupportedError("coded frame too large to store");
    writer.u32(uint32_t(length));
    writer.patchU32(0, uint32_t(length));
}

void decodeFrame(ByteSpan record, const MutableFrameRows& picture)
{
    const uint8_t* mapping = byteMapping(picture.bitsPerPixel);
    const size_t size = imageBytes(picture.rows, picture.rowBytes);

    const ByteReader reader(record);
    const uint32_t length = reader.u32At(0);
    if (length != record.size() || length % 4 != 0 || length < 12)
        throw ArchiveError("frame record has a bad length");
    if (reader.u32At(length - 4) != length)
        throw ArchiveError("frame record's two lengths differ");

    // Decoded apart from the picture, so that a damaged record leaves the picture as it was.
    static thread_local std::vector<uint8_t> decoded; // kept between frames, as the table is
    decoded.resize(size + kSlack);
    const size_t maxCodes = 512 * ((size_t(length) + 575) / 576);
    decodeStream(reader.bytesAt(4, length - 8), maxCodes, decoded.data(), size);

    const uint8_t* from = decoded.data();
    for (int y = 0; y < picture.rows; ++y, from += picture.rowBytes)
        copyRow(picture.topRow + ptrdiff_t(y) * picture.rowStep, from, picture.rowBytes, mapping);
}

} // namespace celvane
