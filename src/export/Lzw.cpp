#include "export/Lzw.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

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

int bitLength(unsigned v)
{
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

// Packs codes least significant bit first, cutting GIF-form output into sub-blocks.
class CodeWriter {
public:
    CodeWriter(Bytes& out, bool gifForm) : out_(out), gifForm_(gifForm)
    {
        if (gifForm_)
            openBlock();
    }

    void put(unsigned code, int bits)
    {
        accumulator_ |= uint64_t(code) << pending_;
        pending_ += bits;
        while (pending_ >= 8) {
            byte(uint8_t(accumulator_));
            accumulator_ >>= 8;
            pending_ -= 8;
        }
    }

    void finish()
    {
        if (pending_ > 0)
            byte(uint8_t(accumulator_));
        pending_ = 0;
        if (!gifForm_)
            return;
        out_[lengthAt_] = uint8_t(inBlock_);
        if (inBlock_ > 0)
            out_.push_back(0); // an empty open block is the terminator itself
    }

private:
    void openBlock()
    {
        lengthAt_ = out_.size();
        out_.push_back(0);
        inBlock_ = 0;
    }
    void byte(uint8_t b)
    {
        out_.push_back(b);
        if (gifForm_ && ++inBlock_ == 255) {
            out_[lengthAt_] = 255;
            openBlock();
        }
    }

    Bytes& out_;
    bool gifForm_;
    uint64_t accumulator_ = 0;
    int pending_ = 0;
    size_t lengthAt_ = 0;
    int inBlock_ = 0;
};

// The width a decoder expects for each code: the bit length of a counter that starts at the
// clear code, grows by one a code, and restarts at the end code after every clear.
class CodeEmitter {
public:
    CodeEmitter(CodeWriter& writer, int clear) : writer_(writer), clear_(clear), counter_(unsigned(clear)) {}

    void emit(unsigned code)
    {
        int bits = bitLength(counter_);
        bits = bits < 2 ? 2 : bits > 12 ? 12 : bits;
        writer_.put(code, bits);
        counter_ = code == unsigned(clear_) ? unsigned(clear_ + 1) : counter_ + 1;
    }

private:
    CodeWriter& writer_;
    int clear_;
    unsigned counter_;
};

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

size_t lzwEncode(int width, Bytes& out, const LzwInput& input)
{
    const bool gifForm = width > 0;
    const int w = gifForm ? width : -width;
    checkWidth(w);
    return gifAllocating("lzwe", [&] {
        const size_t start = out.size();
        LzwScratch lease;
        uint8_t* scratch = lease.reserve(kEncoderScratch);
        auto* hashes = reinterpret_cast<int32_t*>(scratch);
        auto* codes = reinterpret_cast<uint16_t*>(scratch + kHashSlots * 4);
        std::memset(hashes, 0xFF, kHashSlots * 4); // every slot -1: empty

        if (gifForm)
            out.push_back(uint8_t(w - 1));
        CodeWriter writer(out, gifForm);
        const int clear = 1 << (w - 1);
        const int end = clear + 1;
        int next = clear + 2;
        CodeEmitter emitter(writer, clear);
        emitter.emit(unsigned(clear));

        // Codes of the strings bb, bbb, ... of every byte b, shortest first. Inside a run of b
        // the encoder follows this chain instead of probing the hash for every byte; the hash
        // still gets every string, so the codes written are the same.
        std::array<std::vector<uint16_t>, 256> runCodes;
        int prefix = -1;
        int runByte = -1; // the prefix is runByte repeated runLength times, when not -1
        size_t runLength = 0;
        for (ByteSpan run = input(); !run.empty(); run = input()) {
            const uint8_t* at = run.data();
            const uint8_t* const stop = at + run.size();
            while (at < stop) {
                const uint8_t b = *at;
                if (prefix < 0) {
                    prefix = runByte = b;
                    runLength = 1;
                    ++at;
                    continue;
                }
                if (b == runByte && runLength <= runCodes[b].size()) {
                    const std::vector<uint16_t>& chain = runCodes[b];
                    const uint8_t* limit = at + std::min(size_t(stop - at), chain.size() + 1 - runLength);
                    const uint8_t* end = std::find_if(at, limit, [b](uint8_t c) { return c != b; });
                    runLength += size_t(end - at);
                    prefix = chain[runLength - 2];
                    at = end;
                    continue;
                }
                ++at;
                const int32_t key = (int32_t(b) << 12) + prefix;
                int slot = (int(b) << kHashShift) ^ prefix;
                if (hashes[slot] == key) {
                    prefix = codes[slot];
                    runByte = -1;
                    continue;
                }
                if (hashes[slot] >= 0) {
                    const int step = slot == 0 ? 1 : kHashSlots - slot;
                    bool found = false;
                    do {
                        slot -= step;
                        if (slot < 0)
                            slot += kHashSlots;
                        if (hashes[slot] == key) {
                            found = true;
                            break;
                        }
                    } while (hashes[slot] >= 0);
                    if (found) {
                        prefix = codes[slot];
                        runByte = -1;
                        continue;
                    }
                }
                emitter.emit(unsigned(prefix));
                if (next <= kMaxCode) {
                    if (b == runByte)
                        runCodes[b].push_back(uint16_t(next)); // the run one longer than any before
                    codes[slot] = uint16_t(next++);
                    hashes[slot] = key;
                } else {
                    std::memset(hashes, 0xFF, kHashSlots * 4);
                    for (std::vector<uint16_t>& chain : runCodes)
                        chain.clear();
                    next = clear + 2;
                    emitter.emit(unsigned(clear));
                }
                prefix = runByte = b;
                runLength = 1;
            }
        }
        if (prefix >= 0)
            emitter.emit(unsigned(prefix));
        emitter.emit(unsigned(end));
        writer.finish();
        return out.size() - start;
    });
}

size_t lzwEncode(int width, Bytes& out, ByteSpan input)
{
    bool given = false;
    return lzwEncode(width, out, [&] {
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
    // Every string is a copy of output written earlier: a table code is where its string
    // starts in the output and how long it is, so decoding copies runs instead of unwinding
    // prefix chains a byte at a time.
    auto* starts = reinterpret_cast<uint32_t*>(scratch);
    auto* lengths = reinterpret_cast<uint16_t*>(scratch + kTableCodes * 4);

    const int clear = 1 << (width - 1);
    const int end = clear + 1;
    CodeReader reader(in);
    int bits = width;
    int largest = (1 << bits) - 1;
    int next = clear + 2;
    size_t length = 0;
    bool started = false; // a literal has been read since the last clear
    size_t previousStart = 0, previousLength = 0;

    // Reads a code, widening first when the table has outgrown the current width (never for
    // the literal after a clear, which a two-bit start would otherwise read too wide).
    auto readCode = [&] {
        if (started && next > largest && bits < 12) {
            ++bits;
            largest = bits == 12 ? kTableCodes : (1 << bits) - 1;
        }
        return reader.read(bits);
    };
    for (int code = readCode();; code = readCode()) {
        if (code == clear) {
            started = false;
            bits = width;
            largest = (1 << bits) - 1;
            next = clear + 2;
            continue;
        }
        if (code < 0)
            return {length, LzwEnd::CodesRanOut};
        if (code == end)
            return {length, LzwEnd::EndCode};
        // After a clear only a literal may come; later, nothing past the next free code.
        if (started ? code > next : code > clear)
            badData();
        const size_t n = code < clear ? 1 : code == next ? previousLength + 1 : lengths[code];
        if (n > capacity - length) {
            if (out && code >= clear)
                std::memcpy(out + length, out + (code == next ? previousStart : starts[code]), capacity - length);
            else if (out && length < capacity)
                out[length] = uint8_t(code);
            return {capacity, LzwEnd::OutputFull};
        }
        if (out) {
            if (code < clear) {
                out[length] = uint8_t(code);
            } else if (code == next) {
                std::memcpy(out + length, out + previousStart, previousLength);
                out[length + previousLength] = out[previousStart];
            } else {
                std::memcpy(out + length, out + starts[code], n);
            }
        }
        if (started && next < kTableCodes) {
            // The previous string and this one's first byte lie side by side in the output.
            starts[next] = uint32_t(previousStart);
            lengths[next] = uint16_t(previousLength + 1);
            ++next;
        }
        started = true;
        previousStart = length;
        previousLength = n;
        length += n;
    }
}

} // namespace celvane
