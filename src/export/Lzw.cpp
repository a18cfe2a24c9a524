#include "export/Lzw.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "base/CodePacker.h"
#include "export/GifErrors.h"

namespace celvane {

namespace {

struct ScratchArea {
    std::vector<uint8_t> bytes;
    int users = 0;
};

ScratchArea& scratchArea()
{
    static thread_local ScratchArea area;
    return area;
}

constexpr int kMaxCode = 4095;
constexpr int kTableCodes = 4096;

// Encoder: compress's open-addressing hash, 5003 slots probed by double hashing.
constexpr int kHashSlots = 5003;
constexpr int kHashShift = 4; // doublings that bring 5003 to 65535 or more, taken from 8
constexpr size_t kEncoderScratch = kHashSlots * 4 + kHashSlots * 2 + 4;
// Decoder: where each code's string starts in the output, and its length.
constexpr size_t kDecoderScratch = kTableCodes * 4 + kTableCodes * 2;

// The width a GIF decoder expects for each code: the bit length of a counter that starts at
// the clear code, grows by one a code, and restarts at the end code after every clear.
class GifCodeWidth {
public:
    explicit GifCodeWidth(unsigned clear) : clear_(clear), counter_(clear) {}
    int bits() const { return std::clamp(int(std::bit_width(counter_)), 2, 12); }
    void afterCode(unsigned code) { counter_ = code == clear_ ? clear_ + 1 : counter_ + 1; }

private:
    unsigned clear_;
    unsigned counter_;
};

// The encoder's dictionary, from a string's code and the byte that follows it to the code of
// the longer string: compress's open-addressed hash of 5003 slots probed by double hashing, in
// the scratch area.
class EncoderDictionary {
public:
    explicit EncoderDictionary(uint8_t* scratch)
        : hashes_(reinterpret_cast<int32_t*>(scratch)), codes_(reinterpret_cast<uint16_t*>(scratch + kHashSlots * 4))
    {
        clear();
    }

    void clear() { std::memset(hashes_, 0xFF, kHashSlots * 4); } // every slot -1: empty

    // The code of string `prefix` followed by `byte`, or -1 when that string is not known.
    int find(int prefix, uint8_t byte)
    {
        key_ = (int32_t(byte) << 12) + prefix;
        int slot = (int(byte) << kHashShift) ^ prefix;
        const int step = slot == 0 ? 1 : kHashSlots - slot;
        for (; hashes_[slot] >= 0; slot = slot < step ? slot - step + kHashSlots : slot - step)
            if (hashes_[slot] == key_)
                return codes_[slot];
        free_ = slot;
        return -1;
    }

    // Gives the string find() just missed the code `code`.
    void add(int code)
    {
        codes_[free_] = uint16_t(code);
        hashes_[free_] = key_;
    }

private:
    int32_t* hashes_;
    uint16_t* codes_;
    int32_t key_ = 0;
    int free_ = 0;
};

// Codes a stream of bytes, run after run, into a packer. Inside a run of one byte the encoder
// follows the codes of the strings bb, bbb, ... of that byte instead of asking the dictionary
// for every byte; the dictionary still gets every string, so the codes written are the same.
class StreamEncoder {
public:
    StreamEncoder(CodePacker& packer, int width, uint8_t* scratch)
        : packer_(packer), clear_(1 << (width - 1)), next_(clear_ + 2), width_(unsigned(clear_)), dictionary_(scratch)
    {
        emit(clear_);
    }

    void encode(ByteSpan input)
    {
        // Hot loop: the string so far is kept in locals, not members.
        Match m = match_;
        for (const uint8_t *at = input.data(), *const stop = at + input.size(); at < stop;) {
            const uint8_t b = *at;
            if (m.prefix < 0) {
                m = {b, b, 1};
                ++at;
            } else if (b == m.runByte && m.runLength <= runCodes_[b].size()) {
                at = followRun(m, at, stop);
            } else {
                ++at;
                if (const int code = dictionary_.find(m.prefix, b); code >= 0) {
                    m = {code, -1, 0};
                } else {
                    addString(m, b);
                    m = {b, b, 1};
                }
            }
        }
        match_ = m;
    }

    void finish()
    {
        if (match_.prefix >= 0)
            emit(match_.prefix);
        emit(clear_ + 1);
    }

private:
    // The string matched so far: its code, and the byte it repeats (-1 when it is no run).
    struct Match {
        int prefix = -1;
        int runByte = -1;
        size_t runLength = 0;
    };

    void emit(int code)
    {
        packer_.put(unsigned(code), width_.bits());
        width_.afterCode(unsigned(code));
    }

    // As far as the run goes and its longest known string reaches.
    const uint8_t* followRun(Match& m, const uint8_t* at, const uint8_t* stop)
    {
        const std::vector<uint16_t>& chain = runCodes_[m.runByte];
        const uint8_t b = uint8_t(m.runByte);
        const uint8_t* limit = at + std::min(size_t(stop - at), chain.size() + 1 - m.runLength);
        const uint8_t* end = std::find_if(at, limit, [b](uint8_t c) { return c != b; });
        m.runLength += size_t(end - at);
        m.prefix = chain[m.runLength - 2];
        return end;
    }

    // The string matched and the byte after it are not known: the string is written and the
    // longer one gets the next code, or the dictionary starts afresh when all are given.
    void addString(const Match& m, uint8_t b)
    {
        emit(m.prefix);
        if (next_ <= kMaxCode) {
            if (b == m.runByte)
                runCodes_[b].push_back(uint16_t(next_)); // the run one longer than any before
            dictionary_.add(next_++);
            return;
        }
        dictionary_.clear();
        for (std::vector<uint16_t>& chain : runCodes_)
            chain.clear();
        next_ = clear_ + 2;
        emit(clear_);
    }

    CodePacker& packer_;
    int clear_;
    int next_;
    GifCodeWidth width_;
    EncoderDictionary dictionary_;
    std::array<std::vector<uint16_t>, 256> runCodes_;
    Match match_;
};

// GIF form: the codes cut into sub-blocks of at most 255 bytes, each after its length, and a
// block of none after the last.
void appendSubBlocks(Bytes& out, ByteSpan codes)
{
    for (size_t at = 0; at < codes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), codes.begin() + ptrdiff_t(at), codes.begin() + ptrdiff_t(at + n));
    }
    out.push_back(0);
}

[[noreturn]] void badData() { throwGifDataError("Bad compressed data"); }

// Reads codes of a changing width, least significant bit first.
class CodeReader {
public:
    explicit CodeReader(ByteSpan in) : in_(in) {}

    // The next code of `bits` bits, or -1 when the data holds too few bits.
    int read(int bits)
    {
        while (pending_ < bits) {
            if (pos_ >= in_.size())
                return -1;
            accumulator_ |= uint32_t(in_[pos_++]) << pending_;
            pending_ += 8;
        }
        const int code = int(accumulator_ & ((1u << bits) - 1));
        accumulator_ >>= bits;
        pending_ -= bits;
        return code;
    }

private:
    ByteSpan in_;
    size_t pos_ = 0;
    uint32_t accumulator_ = 0;
    int pending_ = 0;
};

void checkWidth(int width)
{
    if (width < 2 || width > 12)
        badData();
}

// Decodes raw-form codes. Every string is a copy of output written earlier: a table code is
// where its string starts in the output and how long it is, so decoding copies runs instead of
// unwinding prefix chains a byte at a time.
class StreamDecoder {
public:
    StreamDecoder(ByteSpan in, int width, uint8_t* scratch)
        : reader_(in), width_(width), clear_(1 << (width - 1)), starts_(reinterpret_cast<uint32_t*>(scratch)),
          lengths_(reinterpret_cast<uint16_t*>(scratch + kTableCodes * 4))
    {
        restart();
    }

    LzwDecoded decode(uint8_t* out, size_t capacity)
    {
        for (int code = readCode();; code = readCode()) {
            if (code == clear_) {
                restart();
                continue;
            }
            if (code < 0)
                return {length_, LzwEnd::CodesRanOut};
            if (code == clear_ + 1)
                return {length_, LzwEnd::EndCode};
            // After a clear only a literal may come; later, nothing past the next free code.
            if (started_ ? code > next_ : code > clear_)
                badData();
            const size_t n = code < clear_ ? 1 : code == next_ ? previousLength_ + 1 : lengths_[code];
            if (n > capacity - length_) {
                copyString(out, code, capacity - length_);
                return {capacity, LzwEnd::OutputFull};
            }
            copyString(out, code, n);
            remember(n);
        }
    }

private:
    void restart()
    {
        started_ = false;
        bits_ = width_;
        largest_ = (1 << bits_) - 1;
        next_ = clear_ + 2;
    }

    // Reads a code, widening first when the table has outgrown the current width (never for
    // the literal after a clear, which a two-bit start would otherwise read too wide).
    int readCode()
    {
        if (started_ && next_ > largest_ && bits_ < 12) {
            ++bits_;
            largest_ = bits_ == 12 ? kTableCodes : (1 << bits_) - 1;
        }
        return reader_.read(bits_);
    }

    // The first `n` bytes of the string of `code` onto the end of the output, if there is one.
    void copyString(uint8_t* out, int code, size_t n)
    {
        if (!out || n == 0)
            return;
        if (code < clear_) {
            out[length_] = uint8_t(code);
            return;
        }
        // The next free code stands for the previous string and that string's first byte.
        const bool selfReferent = code == next_;
        const size_t copied = selfReferent ? std::min(n, previousLength_) : n;
        std::memcpy(out + length_, out + (selfReferent ? previousStart_ : starts_[code]), copied);
        if (copied < n)
            out[length_ + copied] = out[previousStart_];
    }

    // The string just output, `n` bytes, follows the previous one: the two make the next entry.
    void remember(size_t n)
    {
        if (started_ && next_ < kTableCodes) {
            // The previous string and this one's first byte lie side by side in the output.
            starts_[next_] = uint32_t(previousStart_);
            lengths_[next_] = uint16_t(previousLength_ + 1);
            ++next_;
        }
        started_ = true;
        previousStart_ = length_;
        previousLength_ = n;
        length_ += n;
    }

    CodeReader reader_;
    int width_;
    int clear_;
    uint32_t* starts_;
    uint16_t* lengths_;
    int bits_ = 0;
    int largest_ = 0;
    int next_ = 0;
    bool started_ = false; // a literal has been read since the last clear
    size_t length_ = 0;
    size_t previousStart_ = 0;
    size_t previousLength_ = 0;
};

} // namespace

LzwScratch::LzwScratch() { ++scratchArea().users; }

LzwScratch::~LzwScratch()
{
    ScratchArea& area = scratchArea();
    if (--area.users == 0)
        std::vector<uint8_t>().swap(area.bytes);
}

uint8_t* LzwScratch::reserve(size_t bytes)
{
    ScratchArea& area = scratchArea();
    if (area.bytes.size() < bytes)
        area.bytes.resize(bytes);
    return area.bytes.data();
}

size_t LzwScratch::capacity() { return scratchArea().bytes.size(); }

size_t lzwEncode(LzwForm form, int width, Bytes& out, const LzwInput& input)
{
    checkWidth(width);
    return gifAllocating("lzwe", [&] {
        const size_t start = out.size();
        LzwScratch lease;
        Bytes gifCodes; // the GIF form's codes, before they are cut into sub-blocks
        if (form == LzwForm::Gif)
            out.push_back(uint8_t(width - 1));
        ByteWriter writer(form == LzwForm::Gif ? &gifCodes : &out);
        CodePacker packer(writer);
        StreamEncoder encoder(packer, width, lease.reserve(kEncoderScratch));
        for (ByteSpan run = input(); !run.empty(); run = input())
            encoder.encode(run);
        encoder.finish();
        packer.finish(CodePacker::End::Byte);
        if (form == LzwForm::Gif)
            appendSubBlocks(out, gifCodes);
        return out.size() - start;
    });
}

size_t lzwEncode(LzwForm form, int width, Bytes& out, ByteSpan input)
{
    bool given = false;
    return lzwEncode(form, width, out, [&] {
        if (given)
            return ByteSpan();
        given = true;
        return input;
    });
}

LzwDecoded lzwDecode(ByteSpan in, uint8_t* out, size_t capacity, int width)
{
    checkWidth(width);
    LzwScratch lease;
    uint8_t* scratch = gifAllocating("lzwd", [&] { return lease.reserve(kDecoderScratch); });
    return StreamDecoder(in, width, scratch).decode(out, capacity);
}

} // namespace celvane
