// The Drawfile the text tool makes of typed text, byte by byte.

#include <gtest/gtest.h>

#include "base/ByteIO.h"
#include "stamps/TextDrawfile.h"

namespace celvane {
namespace {

struct Words {
    const Bytes& data;
    size_t at = 0;
    uint32_t next()
    {
        const uint32_t w = loadLE32(&data[at]);
        at += 4;
        return w;
    }
    std::string text(size_t n)
    {
        const std::string s(data.begin() + long(at), data.begin() + long(at + n));
        at += n;
        return s;
    }
};

TEST(TextDrawfile, LinesBreakAtRunsOfControlCharacters)
{
    EXPECT_EQ(textLines("A\r\n\r\nB"), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(textLines("\r\n  x \x7f"), (std::vector<std::string>{"  x "}));
    EXPECT_TRUE(textLines("\r\n\r\n").empty());
    EXPECT_TRUE(buildTextDrawfile({}).empty());
}

TEST(TextDrawfile, TwoLinesAreTwoTextObjectsOneLineApart)
{
    TextStampSpec spec;
    spec.text = "A\r\n\r\nBcde";
    spec.fontName = "Font"; // 8 + 1 + 4 + 1 → 16 bytes of table
    spec.size = 6400;
    spec.textColour = 0x0000FF;   // red
    spec.shadowColour = 0xFFFFFF; // white
    const Bytes file = buildTextDrawfile(spec);
    Words w{file};
    EXPECT_EQ(w.text(4), "Draw");
    EXPECT_EQ(w.next(), 201u);
    EXPECT_EQ(w.next(), 0u);
    EXPECT_EQ(w.text(12), "Celvane     ");
    for (uint32_t v : {0u, 0u, 76800u, 76800u})
        EXPECT_EQ(w.next(), v);
    // The font table.
    EXPECT_EQ(w.next(), 0u);
    EXPECT_EQ(w.next(), 16u);
    EXPECT_EQ(file[w.at], 1);
    EXPECT_EQ(std::string(file.begin() + long(w.at + 1), file.begin() + long(w.at + 6)), std::string("Font\0", 5));
    w.at += 8;
    // Line "A": 52 bytes of header and "A\0" padded to 56; baselines from the top line down.
    const auto textObject = [&](size_t size, uint32_t y, const std::string& chars) {
        EXPECT_EQ(w.next(), 1u);
        EXPECT_EQ(w.next(), uint32_t(size));
        for (uint32_t v : {0u, 0u, 76800u, 76800u})
            EXPECT_EQ(w.next(), v);
        EXPECT_EQ(w.next(), 0x0000FF00u); // the text colour, no palette index
        EXPECT_EQ(w.next(), 0xFFFFFF00u);
        EXPECT_EQ(w.next(), 1u);
        EXPECT_EQ(w.next(), 6400u);
        EXPECT_EQ(w.next(), 6400u);
        EXPECT_EQ(w.next(), 1600u); // 2 × (s / 8)
        EXPECT_EQ(w.next(), y);
        EXPECT_EQ(w.text(size - 52), chars);
    };
    textObject(56, 6400 + 1600, std::string("A\0\0\0", 4));
    textObject(60, 1600, std::string("Bcde\0\0\0\0", 8));
    EXPECT_EQ(w.at, file.size());
}

TEST(TextDrawfile, AShadowIsAGroupWithTheShadowFirst)
{
    TextStampSpec spec;
    spec.text = "Hi";
    spec.fontName = "F";
    spec.size = 8000;
    spec.shadow = true;
    spec.textColour = 0x112233;
    spec.shadowColour = 0x445566;
    const Bytes file = buildTextDrawfile(spec);
    Words w{file, 40 + 12};
    EXPECT_EQ(w.next(), 6u);
    EXPECT_EQ(w.next(), 36u + 2 * 56);
    w.at += 16 + 12;
    EXPECT_EQ(w.next(), 1u); // the shadow, the other way round in colour and moved
    w.at += 4 + 16;
    EXPECT_EQ(w.next(), 0x44556600u);
    EXPECT_EQ(w.next(), 0x11223300u);
    w.at += 12;
    EXPECT_EQ(w.next(), uint32_t(2000 + 707));
    EXPECT_EQ(w.next(), uint32_t(2000 - 707));
    w.at += 4;
    EXPECT_EQ(w.next(), 1u); // then the line itself
    w.at += 4 + 16;
    EXPECT_EQ(w.next(), 0x11223300u);
    EXPECT_EQ(w.next(), 0x44556600u);
    w.at += 12;
    EXPECT_EQ(w.next(), 2000u);
    EXPECT_EQ(w.next(), 2000u);
    EXPECT_EQ(w.at + 4, file.size());
}

} // namespace
} // namespace celvane
