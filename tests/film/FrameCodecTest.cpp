#include "film/FrameCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>

namespace celvane {
namespace {

// A picture in its own memory, rows padded to 4 bytes and bottom-up unless asked otherwise.
struct Picture {
    int rows;
    size_t rowBytes;
    int bitsPerPixel;
    bool bottomUp = true;
    size_t stride = (rowBytes + 3) & ~size_t(3);
    Bytes memory = Bytes(stride * size_t(rows), 0xEE);

    uint8_t* row(int y) { return memory.data() + stride * size_t(bottomUp ? rows - 1 - y : y); }
    ptrdiff_t step() const { return bottomUp ? -ptrdiff_t(stride) : ptrdiff_t(stride); }
    FrameRows view() { return {row(0), step(), rowBytes, rows, bitsPerPixel}; }
    MutableFrameRows target() { return {row(0), step(), rowBytes, rows, bitsPerPixel}; }
    Bytes topDown()
    {
        Bytes bytes;
        for (int y = 0; y < rows; ++y)
            bytes.insert(bytes.end(), row(y), row(y) + rowBytes);
        return bytes;
    }
    void fill(const Bytes& bytes)
    {
        for (int y = 0; y < rows; ++y)
            std::copy_n(bytes.begin() + ptrdiff_t(size_t(y) * rowBytes), rowBytes, row(y));
    }
};

Bytes noiseBytes(size_t n, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (auto& b : bytes)
        b = uint8_t(random());
    return bytes;
}

// Random bytes with runs mixed in, so both the dictionary's long strings and its fan-out show.
Bytes mixedBytes(size_t n, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes;
    while (bytes.size() < n) {
        const uint8_t value = uint8_t(random() % 4 == 0 ? random() : random() % 3);
        bytes.insert(bytes.end(), std::min<size_t>(1 + random() % 40, n - bytes.size()), value);
    }
    return bytes;
}

// The coded stream's byte order for 1- and 4-bit pictures: leftmost pixel in the low bits.
Bytes codedOrder(Bytes bytes, int bitsPerPixel)
{
    for (auto& b : bytes) {
        if (bitsPerPixel == 1) {
            uint8_t reversed = 0;
            for (int bit = 0; bit < 8; ++bit)
                reversed |= uint8_t(((b >> bit) & 1) << (7 - bit));
            b = reversed;
        } else if (bitsPerPixel == 4) {
            b = uint8_t((b << 4) | (b >> 4));
        }
    }
    return bytes;
}

// Data codes of a byte stream, by the rules with a plain map.
std::vector<uint32_t> referenceCodes(const Bytes& stream)
{
    std::map<std::pair<uint32_t, uint8_t>, uint32_t> dictionary;
    std::vector<uint32_t> codes;
    uint32_t next = 257;
    std::optional<uint32_t> w;
    for (const uint8_t b : stream) {
        if (!w) {
            w = b;
        } else if (const auto found = dictionary.find({*w, b}); found != dictionary.end()) {
            w = found->second;
        } else {
            codes.push_back(*w);
            if (next < 65536)
                dictionary[{*w, b}] = next++;
            w = b;
        }
    }
    if (w)
        codes.push_back(*w);
    return codes;
}

// A whole record by the rules, packed one bit at a time.
Bytes referenceRecord(const Bytes& stream)
{
    std::vector<bool> bits;
    const auto put = [&](uint32_t code, int width) {
        for (int i = 0; i < width; ++i)
            bits.push_back((code >> i) & 1);
    };
    put(256, 9);
    int width = 9;
    const auto codes = referenceCodes(stream);
    for (size_t j = 0; j < codes.size(); ++j) {
        put(codes[j], width);
        if (width < 16 && 257 + j >= (size_t(1) << width))
            ++width;
    }
    put(256, width);
    bits.resize((bits.size() + 31) / 32 * 32);

    Bytes record(4);
    for (size_t i = 0; i < bits.size(); i += 8) {
        uint8_t byte = 0;
        for (int k = 0; k < 8; ++k)
            byte |= uint8_t(bits[i + size_t(k)] << k);
        record.push_back(byte);
    }
    record.resize(record.size() + 4);
    storeLE32(record.data(), uint32_t(record.size()));
    storeLE32(record.data() + record.size() - 4, uint32_t(record.size()));
    return record;
}

// `width` bits of a record's coded words from bit `at`, least significant first.
uint32_t bitsAt(const Bytes& record, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i, ++at)
        value |= uint32_t((record.at(4 + at / 8) >> (at % 8)) & 1) << i;
    return value;
}

Bytes encode(Picture& picture)
{
    Bytes record;
    encodeFrame(picture.view(), record);
    return record;
}

TEST(FrameCodec, SmallRecordsLayout)
{
    Picture pixel{1, 1, 8};
    pixel.row(0)[0] = 0x41;
    EXPECT_EQ(encode(pixel), (Bytes{12, 0, 0, 0, 0x00, 0x83, 0x00, 0x04, 12, 0, 0, 0}));

    Picture empty{0, 0, 8};
    EXPECT_EQ(encode(empty), (Bytes{12, 0, 0, 0, 0x00, 0x01, 0x02, 0x00, 12, 0, 0, 0}));
    EXPECT_NO_THROW(decodeFrame(encode(empty), empty.target()));
}

TEST(FrameCodec, WidthGrowsAfterDataCode255)
{
    Picture picture{1, 700, 8};
    picture.fill(noiseBytes(700, 1));
    const Bytes record = encode(picture);
    const auto codes = referenceCodes(picture.topDown());
    ASSERT_GT(codes.size(), 300u);
    ASSERT_LT(codes.size(), 700u); // all within 10 bits

    ASSERT_EQ(bitsAt(record, 0, 9), 256u);
    size_t at = 9;
    for (size_t j = 0; j < codes.size(); ++j) {
        const int width = j <= 255 ? 9 : 10;
        ASSERT_EQ(bitsAt(record, at, width), codes[j]) << "data code " << j;
        at += size_t(width);
    }
    EXPECT_EQ(bitsAt(record, at, 10), 256u);
}

TEST(FrameCodec, LowDepthsCodeLeftmostPixelInLowBits)
{
    Picture mono{1, 1, 1};
    mono.row(0)[0] = 0x80;
    EXPECT_EQ(bitsAt(encode(mono), 9, 9), 0x01u);

    Picture nibbles{1, 1, 4};
    nibbles.row(0)[0] = 0xA3;
    const Bytes record = encode(nibbles);
    EXPECT_EQ(bitsAt(record, 9, 9), 0x3Au);

    Picture back{1, 1, 4};
    decodeFrame(record, back.target());
    EXPECT_EQ(back.row(0)[0], 0xA3);
}

TEST(FrameCodec, CodeEqualToNextCodeDecodes)
{
    // "aaa" codes as 'a' then 257, which the decoder meets before it has defined it.
    Picture picture{1, 3, 8};
    picture.fill({'a', 'a', 'a'});
    const Bytes record = encode(picture);
    EXPECT_EQ(bitsAt(record, 9, 9), uint32_t('a'));
    EXPECT_EQ(bitsAt(record, 18, 9), 257u);
    EXPECT_EQ(bitsAt(record, 27, 9), 256u);

    Picture back{1, 3, 8};
    decodeFrame(record, back.target());
    EXPECT_EQ(back.topDown(), picture.topDown());
}

TEST(FrameCodec, RoundTripsEveryDepthAndMatchesTheRules)
{
    uint32_t seed = 10;
    for (const int bits : {1, 2, 4, 8, 16, 32}) {
        for (const int width : {1, 3, 17, 61}) {
            for (const int rows : {1, 2, 9}) {
                SCOPED_TRACE(testing::Message() << bits << " bpp, " << width << " x " << rows);
                Picture picture{rows, (size_t(width) * size_t(bits) + 7) / 8, bits};
                picture.fill(mixedBytes(picture.rowBytes * size_t(rows), ++seed));
                const Bytes record = encode(picture);
                EXPECT_EQ(record, referenceRecord(codedOrder(picture.topDown(), bits)));

                Picture back{rows, picture.rowBytes, bits, false};
                decodeFrame(record, back.target());
                EXPECT_EQ(back.topDown(), picture.topDown());
                for (int y = 0; y < rows; ++y) // row padding is not the codec's
                    EXPECT_TRUE(std::all_of(back.row(y) + back.rowBytes, back.row(y) + back.stride,
                                            [](uint8_t b) { return b == 0xEE; }));
            }
        }
    }
}

TEST(FrameCodec, FullDictionary)
{
    // Noise fills all 65536 codes early; the runs after it are coded with a closed dictionary.
    Picture picture{512, 512, 8};
    Bytes bytes = noiseBytes(512 * 256, 5);
    const Bytes runs = mixedBytes(512 * 256, 6);
    bytes.insert(bytes.end(), runs.begin(), runs.end());
    picture.fill(bytes);

    const Bytes record = encode(picture);
    EXPECT_GT(referenceCodes(bytes).size(), 65536u);
    EXPECT_EQ(record, referenceRecord(bytes));
    Picture back{512, 512, 8};
    decodeFrame(record, back.target());
    EXPECT_EQ(back.topDown(), bytes);
}

TEST(FrameCodec, DamagedRecordsAreRefusedAndLeaveThePicture)
{
    Picture two{1, 2, 8};
    two.fill({'x', 'y'});
    const Bytes good = encode(two);

    const auto refused = [](Bytes record, int rows, size_t rowBytes) {
        Picture target{rows, rowBytes, 8};
        const Bytes before = target.memory;
        EXPECT_THROW(decodeFrame(record, target.target()), ArchiveError);
        EXPECT_EQ(target.memory, before);
    };
    refused(good, 1, 1); // more than the picture
    refused(good, 1, 3); // fewer bytes than the picture
    refused(Bytes(good.begin(), good.end() - 4), 1, 2);
    refused({8, 0, 0, 0, 8, 0, 0, 0}, 0, 0);
    Bytes odd = good;
    odd.push_back(0);
    storeLE32(odd.data(), uint32_t(odd.size()));
    storeLE32(odd.data() + odd.size() - 4, uint32_t(odd.size()));
    refused(odd, 1, 2);
    Bytes trailing = good;
    trailing.back() = 1;
    refused(trailing, 1, 2);

    const auto withWord = [](uint32_t word) {
        Bytes record{12, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0};
        storeLE32(record.data() + 4, word);
        return record;
    };
    refused(withWord(255 | (0x41 << 9) | (256 << 18)), 1, 1); // start marker wrong
    refused(withWord(256 | (257 << 9) | (256 << 18)), 1, 2);  // first code is no string yet
    refused(withWord(256 | (0x41 << 9) | (258 << 18)), 1, 2); // past the next code
    refused(withWord(256 | (0x41 << 9)), 1, 40);              // no end code
}

TEST(FrameCodec, CorruptedRecordsNeverCrash)
{
    std::mt19937 random(99);
    std::vector<std::pair<Picture, Bytes>> cases;
    for (const int bits : {4, 8}) {
        Picture picture{13, 37, bits};
        picture.fill(mixedBytes(13 * 37, uint32_t(bits)));
        cases.emplace_back(picture, encode(picture));
    }
    for (int round = 0; round < 3000; ++round) {
        auto [picture, record] = cases[random() % cases.size()];
        switch (random() % 3) {
        case 0: // flip bits among the codes
            for (int flips = 1 + int(random() % 4); flips > 0; --flips)
                record[4 + random() % (record.size() - 8)] ^= uint8_t(1 << (random() % 8));
            break;
        case 1: // cut short with consistent lengths
            record.resize(12 + (random() % ((record.size() - 12) / 4)) * 4);
            storeLE32(record.data(), uint32_t(record.size()));
            storeLE32(record.data() + record.size() - 4, uint32_t(record.size()));
            break;
        default: // any length words at all
            storeLE32(record.data(), random());
            record.resize(random() % (record.size() + 8));
            break;
        }
        try {
            decodeFrame(record, picture.target());
        } catch (const ArchiveError&) {
        }
    }
}

} // namespace
} // namespace celvane
