// The LZW codec: both stream forms, its limits and its damaged-data paths.

#include <gtest/gtest.h>

#include <random>

#include "base/Errors.h"
#include "export/Lzw.h"

using namespace celvane;

namespace {

Bytes rawRoundTrip(const Bytes& input)
{
    Bytes packed;
    lzwEncode(LzwForm::Raw, kLzwRawWidth, packed, input);
    Bytes back(input.size());
    back.resize(lzwDecode(packed, back.data(), back.size(), kLzwRawWidth).length);
    return back;
}

Bytes noise(size_t n, unsigned seed, int values = 256)
{
    std::mt19937 random(seed);
    Bytes b(n);
    for (auto& v : b)
        v = uint8_t(random() % unsigned(values));
    return b;
}

// Codes of the given widths packed least significant bit first.
Bytes packCodes(const std::vector<std::pair<int, int>>& codes)
{
    Bytes out;
    uint32_t acc = 0;
    int pending = 0;
    for (auto [code, bits] : codes) {
        acc |= uint32_t(code) << pending;
        pending += bits;
        while (pending >= 8) {
            out.push_back(uint8_t(acc));
            acc >>= 8;
            pending -= 8;
        }
    }
    if (pending)
        out.push_back(uint8_t(acc));
    return out;
}

} // namespace

TEST(Lzw, RawFormRoundTripsAnyInput)
{
    EXPECT_TRUE(rawRoundTrip({}).empty());
    EXPECT_EQ(rawRoundTrip({42}), Bytes{42});
    // Noise fills the table many times over (clears); a long run builds long strings; few
    // values give the code-equals-next-free case again and again.
    Bytes runs;
    for (unsigned i = 0; runs.size() < 300000; ++i)
        runs.insert(runs.end(), (i * 7919u) % 1500u + 1u, uint8_t(i % 3 ? 40 : i % 7));
    for (const Bytes& input : {noise(100000, 1), Bytes(70000, 7), noise(50000, 2, 3), noise(4099, 3, 2), runs})
        EXPECT_EQ(rawRoundTrip(input), input);
    EXPECT_EQ(LzwScratch::capacity(), 0u) << "the scratch area goes with its last user";
}

TEST(Lzw, GifFormCutsSubBlocksAndDecodesAtEveryWidth)
{
    const Bytes input = noise(300, 4);
    Bytes gif;
    lzwEncode(LzwForm::Gif, 9, gif, input);
    ASSERT_GT(gif.size(), 2u + 255u);
    EXPECT_EQ(gif[0], 8); // minimum code size
    EXPECT_EQ(gif[1], 255);
    const size_t second = 2 + 255;
    EXPECT_EQ(size_t(gif[second]), gif.size() - second - 2);
    EXPECT_EQ(gif.back(), 0);

    Bytes codes(gif.begin() + 2, gif.begin() + 2 + 255);
    codes.insert(codes.end(), gif.begin() + std::ptrdiff_t(second) + 1, gif.end() - 1);
    Bytes back(input.size());
    EXPECT_EQ(lzwDecode(codes, back.data(), back.size(), 9).length, input.size());
    EXPECT_EQ(back, input);

    // Small code sizes (two colours start at width 3, the narrowest GIF allows) and the widest.
    for (int width : {2, 3, 5, 12}) {
        const Bytes in = noise(20000, unsigned(width), 1 << (width - 1));
        Bytes raw;
        lzwEncode(LzwForm::Raw, width, raw, in);
        Bytes out(in.size());
        EXPECT_EQ(lzwDecode(raw, out.data(), out.size(), width).length, in.size()) << width;
        EXPECT_EQ(out, in) << width;
    }

    // A short stream: one block, then the terminator.
    Bytes runs;
    lzwEncode(LzwForm::Gif, 3, runs, Bytes(10, 1));
    EXPECT_EQ(runs[0], 2);
    EXPECT_EQ(runs.back(), 0);
    EXPECT_EQ(size_t(runs[1]), runs.size() - 3);
}

TEST(Lzw, RunsCodeAsTheTableHasThem)
{
    // Ten equal bytes: 1, 11, 111, 1111, each string the one before and one more.
    Bytes packed;
    lzwEncode(LzwForm::Raw, kLzwRawWidth, packed, Bytes(10, 1));
    EXPECT_EQ(packed, packCodes({{256, 9}, {1, 9}, {258, 9}, {259, 9}, {260, 9}, {257, 9}}));
    // Given in pieces that cut through runs, the codes are those of the whole.
    Bytes input = noise(30000, 9, 2);
    for (size_t at = 0; at < input.size(); at += 997)
        std::fill_n(input.begin() + std::ptrdiff_t(at), std::min<size_t>(600, input.size() - at), uint8_t(at % 3));
    Bytes whole, pieces;
    lzwEncode(LzwForm::Gif, 9, whole, input);
    size_t given = 0;
    lzwEncode(LzwForm::Gif, 9, pieces, [&] {
        const size_t n = std::min<size_t>(given % 5 + 123, input.size() - given);
        const ByteSpan piece(input.data() + given, n);
        given += n;
        return piece;
    });
    EXPECT_EQ(pieces, whole);
}

TEST(Lzw, DecodeKeepsWhatItCanAndRefusesDamage)
{
    const Bytes input = noise(1000, 5);
    Bytes packed;
    lzwEncode(LzwForm::Raw, 9, packed, input);

    // One byte too little room: exactly the room, said to be full, nothing printed.
    Bytes out(input.size() - 1);
    testing::internal::CaptureStdout();
    const LzwDecoded full = lzwDecode(packed, out.data(), out.size(), 9);
    EXPECT_EQ(full.length, out.size());
    EXPECT_EQ(full.end, LzwEnd::OutputFull);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), input.begin()));
    // Counting only.
    const LzwDecoded counted = lzwDecode(packed, nullptr, 5000, 9);
    EXPECT_EQ(counted.length, input.size());
    EXPECT_EQ(counted.end, LzwEnd::EndCode);

    // Cut before the end code: what is there, said to have run out.
    const Bytes cut(packed.begin(), packed.begin() + std::ptrdiff_t(packed.size() / 2));
    Bytes part(input.size());
    const LzwDecoded got = lzwDecode(cut, part.data(), part.size(), 9);
    EXPECT_EQ(got.end, LzwEnd::CodesRanOut);
    EXPECT_GT(got.length, 100u);
    EXPECT_TRUE(std::equal(part.begin(), part.begin() + std::ptrdiff_t(got.length), input.begin()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // A code two above the next free one; a first code that is no literal.
    Bytes sink(100);
    const Bytes tooFar = packCodes({{256, 9}, {1, 9}, {2, 9}, {260, 9}});
    try {
        lzwDecode(tooFar, sink.data(), sink.size(), 9);
        FAIL() << "accepted a code past the table";
    } catch (const ArchiveError& e) {
        EXPECT_STREQ(e.what(), "Bad compressed data");
    }
    EXPECT_THROW(lzwDecode(packCodes({{300, 9}, {1, 9}, {301, 9}}), sink.data(), sink.size(), 9), ArchiveError);
    // Clear, end code at once: nothing, and no complaint.
    EXPECT_EQ(lzwDecode(packCodes({{256, 9}, {257, 9}}), sink.data(), sink.size(), 9).length, 0u);
    // A clear in the middle starts the table again.
    Bytes two(2);
    EXPECT_EQ(lzwDecode(packCodes({{256, 9}, {65, 9}, {256, 9}, {66, 9}, {257, 9}}), two.data(), 2, 9).length, 2u);
    EXPECT_EQ(two, (Bytes{65, 66}));
    EXPECT_THROW(lzwDecode(packed, out.data(), out.size(), 13), ArchiveError);
}
