#include <gtest/gtest.h>

#include <filesystem>

#include "../film/FilmTestSupport.h"
#include "TestSupport.h"
#include "export/ByteRun.h"
#include "export/FlicWriter.h"
#include "film/FileType.h"

using namespace celvane;

namespace {
Bytes coded(std::vector<uint8_t> line)
{
    Bytes out;
    encodeByteRunLine(line.data(), line.size(), out);
    return out;
}

std::unique_ptr<Film> filmOf(int frames, int bits, int width = 21, int height = 9)
{
    auto film = std::make_unique<Film>();
    const ImageInfo info = ImageInfo::forFilm(width, height, bits);
    film->load(0, &info, nullptr, FileType::Film);
    for (int i = 1; i < frames; ++i)
        film->insertFrame(i, false);
    for (int i = 0; i < frames; ++i)
        test::paintPattern(*film, i, uint32_t(i * 3 + 1));
    return film;
}
} // namespace

TEST(ByteRun, RunsLiteralsAndTheirLimits)
{
    EXPECT_EQ(coded(std::vector<uint8_t>(300, 7)), (Bytes{3, 127, 7, 127, 7, 46, 7}));
    EXPECT_EQ(coded({1, 2, 2, 3}), (Bytes{3, 0xFF, 1, 2, 2, 1, 3}));
    EXPECT_EQ(coded({5}), (Bytes{1, 1, 5}));
    EXPECT_EQ(coded({1, 2, 3}), (Bytes{1, uint8_t(-3), 1, 2, 3}));
    // A literal stops at 127 bytes.
    std::vector<uint8_t> ramp(130);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = uint8_t(i);
    const Bytes r = coded(ramp);
    EXPECT_EQ(r[0], 2);
    EXPECT_EQ(r[1], uint8_t(-127));
    EXPECT_EQ(r[2 + 127], uint8_t(-3));
}

TEST(Flic, HeaderFramesAndRingFrame)
{
    auto film = filmOf(3, 8);
    const Bytes f = writeFlic(*film, false);
    EXPECT_EQ(loadLE32(&f[0]), f.size());
    EXPECT_EQ(loadLE16(&f[4]), 0xAF12);
    EXPECT_EQ(loadLE16(&f[6]), 3);
    EXPECT_EQ(loadLE16(&f[8]), 21);
    EXPECT_EQ(loadLE16(&f[10]), 9);
    EXPECT_EQ(loadLE16(&f[12]), 8);
    EXPECT_EQ(loadLE32(&f[16]), 80u);
    EXPECT_EQ(loadLE32(&f[80]), 128u);
    const uint32_t first = loadLE32(&f[128]);
    EXPECT_EQ(loadLE32(&f[84]), 128 + first);
    // Four frame chunks follow the header: the palette frame, two more, and the ring frame.
    size_t at = 128;
    std::vector<int> chunks;
    std::vector<size_t> starts;
    while (at + 16 <= f.size()) {
        EXPECT_EQ(loadLE16(&f[at + 4]), 0xF1FA);
        chunks.push_back(loadLE16(&f[at + 6]));
        starts.push_back(at);
        at += loadLE32(&f[at]);
    }
    EXPECT_EQ(at, f.size());
    ASSERT_EQ(chunks, (std::vector<int>{2, 1, 1, 1}));
    // The ring frame repeats the first frame's pixels (whose chunk follows the 778-byte colours).
    const Bytes firstPixels(f.begin() + long(starts[0] + 16 + 778), f.begin() + long(starts[1]));
    const Bytes ringPixels(f.begin() + long(starts[3] + 16), f.end());
    EXPECT_EQ(ringPixels, firstPixels);

    film->setFrameSelected(2, true);
    const Bytes one = writeFlic(*film, true);
    EXPECT_EQ(loadLE16(&one[6]), 1);
    EXPECT_THROW(writeFlic(*film, false, [](int, int) { return false; }), UserCancel);
}

// FFmpeg's decoder reads our FLICs back to the film's pixels exactly.
TEST(Flic, DecodesWithFfmpegToTheFilmsPixels)
{
    if (test::runCommand("command -v ffmpeg >/dev/null") != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    for (int bits : {8, 4}) {
        SCOPED_TRACE(bits);
        test::TempDir dir;
        auto film = filmOf(3, bits, 23, 7);
        test::writeBytes(dir.file("a.flc"), writeFlic(*film, false));
        ASSERT_EQ(test::runCommand("ffmpeg -v error -i " + dir.file("a.flc") + " -f rawvideo -pix_fmt rgb24 " +
                                   dir.file("a.rgb")),
                  0);
        const Bytes rgb = readFile(dir.file("a.rgb"));
        const size_t frameBytes = 23 * 7 * 3;
        ASSERT_GE(rgb.size(), 3 * frameBytes);
        for (int i = 0; i < 3; ++i) {
            const Sprite* s = film->workingImage(i);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 23; ++x) {
                    const uint32_t word = s->colourWordOf(s->readPixel(x, y));
                    const uint8_t* px = &rgb[size_t(i) * frameBytes + size_t(y * 23 + x) * 3];
                    // Six bits a channel in the file; the decoder widens them again.
                    for (int c = 0; c < 3; ++c) {
                        const int want = int((word >> (8 * (c + 1))) & 0xFF) >> 2;
                        EXPECT_EQ(px[c] >> 2, want) << "frame " << i << " at " << x << "," << y;
                    }
                }
        }
    }
}
