// RISC OS sprite files: sprites of every depth and mask form made here read back pixel for
// pixel; the files of other programs open with their pictures, damaged ones are refused in the
// program's words; a sprite file opens in the program as a film.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/CommandIds.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "gfx/Colour.h"
#include "import/SpriteFileReader.h"
#include "import/SpriteMode.h"
#include "view/CCelvaneView.h"

using namespace celvane;
namespace fs = std::filesystem;

namespace {

using PixelRule = std::function<uint32_t(int x, int y)>;

struct SpriteSpec {
    std::string name;
    uint32_t mode = 0;
    int width = 1; // pixels
    int height = 1;
    int bits = 1;
    std::vector<uint32_t> palette{}; // colour words, written in pairs
    PixelRule pixel{};
    // Mask pixels of `maskBits` each (1, the image's depth, or 8 for opacity); none when null.
    PixelRule mask{};
    int maskBits = 1;
};

// Rows as the file holds them: top row first, words, the leftmost pixel in the lowest bits.
Bytes packRows(int width, int height, int bits, int rowWords, const PixelRule& value)
{
    Bytes out(size_t(rowWords) * 4 * size_t(height));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &out[size_t(y) * size_t(rowWords) * 4];
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            const size_t bit = size_t(x) * size_t(bits);
            if (bits >= 8)
                for (int b = 0; b < bits / 8; ++b)
                    row[bit / 8 + size_t(b)] = uint8_t(v >> (8 * b));
            else
                row[bit / 8] |= uint8_t(v << (bit % 8));
        }
    }
    return out;
}

Bytes spriteFile(const std::vector<SpriteSpec>& specs)
{
    Bytes out;
    ByteWriter w(&out);
    w.u32(uint32_t(specs.size()));
    w.u32(16);
    w.u32(0); // patched below
    for (const SpriteSpec& s : specs) {
        const int rowWords = (s.width * s.bits + 31) / 32;
        const Bytes image = packRows(s.width, s.height, s.bits, rowWords, s.pixel);
        const Bytes mask = s.mask ? packRows(s.width, s.height, s.maskBits, (s.width * s.maskBits + 31) / 32, s.mask)
                                  : Bytes{};
        const uint32_t imageAt = uint32_t(44 + 8 * s.palette.size());
        w.u32(uint32_t(imageAt + image.size() + mask.size()));
        char name[12] = {};
        std::copy_n(s.name.begin(), std::min<size_t>(12, s.name.size()), name);
        w.bytes(name, 12);
        w.u32(uint32_t(rowWords - 1));
        w.u32(uint32_t(s.height - 1));
        w.u32(0);
        w.u32(uint32_t((s.width * s.bits - 1) % 32));
        w.u32(imageAt);
        w.u32(mask.empty() ? imageAt : uint32_t(imageAt + image.size()));
        w.u32(s.mode);
        for (uint32_t c : s.palette) {
            w.u32(c);
            w.u32(c);
        }
        w.bytes(image);
        w.bytes(mask);
    }
    w.patchU32(8, uint32_t(out.size() + 4));
    return out;
}

constexpr uint32_t newFormat(int type, int xDpi, int yDpi)
{
    return uint32_t(type) << 27 | uint32_t(yDpi) << 14 | uint32_t(xDpi) << 1;
}

void expectPixels(const Sprite& s, const SpriteSpec& spec)
{
    ASSERT_EQ(s.width(), spec.width) << spec.name;
    ASSERT_EQ(s.height(), spec.height) << spec.name;
    ASSERT_EQ(s.bitsPerPixel(), spec.bits) << spec.name;
    int wrong = 0, wrongMask = 0;
    for (int y = 0; y < spec.height; ++y)
        for (int x = 0; x < spec.width; ++x) {
            wrong += s.pixelAt(x, y) != spec.pixel(x, y);
            if (spec.mask) {
                const uint32_t m = spec.mask(x, y);
                const uint32_t opaque = spec.maskBits == 8 && spec.bits != 8 ? m >= 128 : m != 0;
                wrongMask += s.mask()->pixelAt(x, y) != opaque;
            }
        }
    EXPECT_EQ(wrong, 0) << spec.name;
    EXPECT_EQ(wrongMask, 0) << spec.name;
    EXPECT_EQ(s.mask() != nullptr, bool(spec.mask)) << spec.name;
}

uint32_t rgbAt(const Sprite& s, int x, int y) { return rgbOfWord(s.colourWordOf(s.pixelAt(x, y))); }

// A fingerprint of what a sprite shows: each pixel's colour, and whether the mask hides it.
uint64_t fingerprint(const Sprite& s)
{
    uint64_t h = 1469598103934665603u;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const uint32_t shown = s.mask() && !s.mask()->pixelAt(x, y) ? 0xFF000000u : rgbAt(s, x, y);
            h = (h ^ shown) * 1099511628211u;
        }
    return h;
}

} // namespace

TEST(RiscOsSprites, ModeWordsGiveDepthAndResolution)
{
    struct Case {
        uint32_t word;
        int bits, xHalf, yHalf;
    };
    for (const Case& c : std::initializer_list<Case>{{0, 1, 180, 90},       {10, 8, 45, 90},   {12, 4, 180, 90},
                                                     {28, 8, 180, 180},     {48, 4, 90, 180},  {67, 8, 90, 45},
                                                     {72, 1, 180, 90},      {75, 8, 180, 90},  {85, 2, 180, 90},
                                                     {100, 1, 180, 180},    {120, 8, 90, 90},  {127, 1, 180, 180},
                                                     {newFormat(6, 90, 90), 32, 180, 180},
                                                     {newFormat(4, 180, 45), 8, 360, 90}}) {
        const auto mode = decodeModeWord(c.word);
        ASSERT_TRUE(mode) << c.word;
        EXPECT_EQ(mode->bitsPerPixel, c.bits) << c.word;
        EXPECT_EQ(mode->xHalfDpi, c.xHalf) << c.word;
        EXPECT_EQ(mode->yHalfDpi, c.yHalf) << c.word;
        EXPECT_EQ(mode->newFormat, c.word > 127) << c.word;
    }
    // Mode selectors and sprite types that name no depth.
    for (uint32_t word : {128u, 0x7FFFFFFu, newFormat(0, 90, 90), newFormat(7, 90, 90), 0xFFFFFFFFu})
        EXPECT_FALSE(decodeModeWord(word)) << word;
    // Bit 31 marks an 8-bit opacity mask on an otherwise ordinary type.
    const auto alpha = decodeModeWord(0x80000000u | newFormat(6, 90, 45));
    ASSERT_TRUE(alpha);
    EXPECT_TRUE(alpha->alphaMask);
    EXPECT_EQ(alpha->bitsPerPixel, 32);
}

TEST(RiscOsSprites, EveryDepthAndMaskFormReadsBackPixelForPixel)
{
    const std::vector<uint32_t> nibbles = {0xF0000000u, 0x0000F000u}; // blue, red in 4-bit channels
    std::vector<uint32_t> sixteen, tints;
    for (uint32_t i = 0; i < 16; ++i) {
        sixteen.push_back(rgbToColourWord(rgb(int(i * 17), 255 - int(i * 16), 7)));
        // Channels within the bits the tints keep of their base.
        tints.push_back(rgbToColourWord(rgb(int(0x11 * (i % 8)), int(0x11 * (i % 4)), int(0x22 * (i / 4)))));
    }
    std::vector<SpriteSpec> specs = {
        {"nine", 25, 9, 3, 1, nibbles, [](int x, int y) { return uint32_t((x + y) % 2); },
         [](int x, int) { return uint32_t(x != 4); }},
        {"fourbits", 12, 13, 4, 4, sixteen, [](int x, int y) { return uint32_t((x * 3 + y) % 16); },
         [](int x, int y) { return uint32_t((x + y) % 3 ? 15 : 0); }, 4},
        {"twelvechars!", 28, 6, 2, 8, tints, [](int x, int y) { return uint32_t(x * 40 + y * 7); },
         [](int x, int) { return uint32_t(x == 2 ? 0 : 255); }, 8},
        {"plain16", 27, 5, 2, 4, {}, [](int x, int) { return uint32_t(x + 9); }},
        {"thousands", newFormat(5, 90, 90), 3, 2, 16, {}, [](int x, int y) { return uint32_t(0x7C00 >> (5 * x) | y); },
         [](int x, int) { return uint32_t(x != 1); }},
        {"millions", newFormat(6, 180, 45), 4, 2, 32, {},
         [](int x, int y) { return uint32_t(0x102030 * (x + 1) + y); }},
        {"opacity", 0x80000000u | newFormat(6, 90, 90), 3, 1, 32, {},
         [](int x, int) { return uint32_t(0xFF << (8 * x)); },
         [](int x, int) { return uint32_t(x * 100); }, 8},
        {"grey", 26, 4, 1, 2, {}, [](int, int) { return 1u; }},        // 4 colours: left out
        {"chosen", 0x4000, 4, 1, 1, {}, [](int, int) { return 1u; }},   // a mode selector: left out
    };
    const Bytes file = spriteFile(specs);
    const SpriteFileContents read = readSpriteFile(file);
    ASSERT_EQ(read.sprites.size(), 7u);
    EXPECT_EQ(read.fourColour, 1);
    EXPECT_EQ(read.unknownKind, 1);
    EXPECT_FALSE(read.damaged);
    EXPECT_EQ(read.leftOut(), "Celvane left out 1 sprite of 4 colours and 1 sprite of a kind Celvane does not know.");
    for (size_t i = 0; i < read.sprites.size(); ++i) {
        expectPixels(read.sprites[i], specs[i]);
        EXPECT_EQ(read.names[i], specs[i].name);
    }

    // Palettes: pairs with 4-bit channels widen, 16 pairs at 256 colours give the tints, none
    // gives the RISC OS default.
    const Sprite& one = read.sprites[0];
    EXPECT_EQ(rgbAt(one, 0, 0), rgb(0, 0, 255));
    EXPECT_EQ(rgbAt(one, 1, 0), rgb(255, 0, 0));
    EXPECT_EQ(rgbAt(read.sprites[1], 2, 1), rgbOfWord(sixteen[7]));
    const Palette& tinted = *read.sprites[2].palette();
    ASSERT_EQ(tinted.count(), 256);
    EXPECT_EQ(tinted.entry(3), tints[3]);
    // Index bits 4 and 7 set the top bits of red and blue over the tint.
    EXPECT_EQ(tinted.entry(0x93), (tints[3] & 0x773377FFu) | 0x8800u | 0x88000000u);
    EXPECT_EQ(rgbAt(read.sprites[3], 2, 0), rgb(221, 0, 0)); // RISC OS colour 11

    // Resolutions give the logical size, 90 dots per inch being a pixel.
    EXPECT_EQ(read.sprites[1].logicalWidth(), 13);
    EXPECT_EQ(read.sprites[1].logicalHeight(), 8);
    EXPECT_EQ(read.sprites[5].logicalWidth(), 2);
    EXPECT_EQ(read.sprites[5].logicalHeight(), 4);
    EXPECT_EQ(read.sprites[4].logicalWidth(), 3);
}

TEST(RiscOsSprites, AScreenOfModeTwelveKeepsItsAspectInThePixelsPerMetre)
{
    const Bytes file = spriteFile({{"screen", 12, 640, 256, 4, {}, [](int x, int y) { return uint32_t((x ^ y) & 15); }},
                                   {"square", newFormat(6, 90, 90), 2, 2, 32, {},
                                    [](int x, int) { return uint32_t(x); }}});
    const SpriteFileContents read = readSpriteFile(file);
    ASSERT_EQ(read.sprites.size(), 2u);
    const Sprite& screen = read.sprites[0];
    EXPECT_EQ(screen.logicalWidth(), 640);
    EXPECT_EQ(screen.logicalHeight(), 512);
    const ByteReader header(screen.headerAndTable());
    EXPECT_EQ(header.u32At(24), 3782u);
    EXPECT_EQ(header.u32At(28), 1891u);
    EXPECT_EQ(ByteReader(read.sprites[1].headerAndTable()).u32At(24), 0u);
    EXPECT_EQ(ByteReader(read.sprites[1].headerAndTable()).u32At(28), 0u);
}

TEST(RiscOsSprites, DamagedFilesKeepWhatCameBeforeTheDamageOrAreRefused)
{
    const PixelRule ones = [](int, int) { return 1u; };
    const Bytes good = spriteFile({{"a", 28, 8, 8, 8, {}, ones}, {"b", 28, 8, 8, 8, {}, ones}});
    const size_t second = 12 + loadLE32(&good[12]);

    // Cut inside the second sprite's image, and a header that points back at itself.
    Bytes cut(good.begin(), good.end() - 5);
    Bytes looping = good;
    storeLE32(&looping[12], 0);
    // A width of four thousand million words, and an image far past the end.
    Bytes wide = good, far = good;
    storeLE32(&wide[second + 16], 0xFFFFFFFFu);
    storeLE32(&far[second + 32], 0x7FFFFFF0u);
    for (const Bytes* file : {&cut, &looping, &wide, &far}) {
        const SpriteFileContents read = readSpriteFile(*file);
        EXPECT_EQ(read.sprites.size(), 1u);
        EXPECT_TRUE(read.damaged);
        EXPECT_EQ(read.leftOut(), "Celvane left out the end of the file, which is damaged.");
    }

    // Nothing to show: refused in the loading message, saying why.
    Bytes first = good;
    storeLE32(&first[4], 0xFFFFFF00u);
    const Bytes twoBit = spriteFile({{"grey", 26, 4, 1, 2, {}, ones}});
    for (const Bytes& file : {Bytes{}, Bytes(good.begin(), good.begin() + 11), first, twoBit}) {
        GraphicList list;
        try {
            list.load(FileType::RiscOsSprite, file);
            ADD_FAILURE() << "opened " << file.size() << " bytes";
        } catch (const Error& e) {
            EXPECT_EQ(e.userMessage(), loadString(IDS_CANNOT_LOAD_TYPE)) << e.what();
        }
    }
    // A file of 4-colour sprites says so before it is refused.
    test::RecordingSink sink;
    EXPECT_THROW(GraphicList().load(FileType::RiscOsSprite, twoBit), NotSupportedError);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], "Celvane left out 1 sprite of 4 colours.");
}

TEST(RiscOsSprites, ManySpritesAskingForMoreThanAFilmCanHoldAreRefusedAtOnce)
{
    // A big screen and many small sprites: each would become a frame of the screen's size.
    std::vector<SpriteSpec> specs = {{"big", 25, 1024, 1024, 1, {}, [](int, int) { return 0u; }}};
    for (int i = 0; i < 1024; ++i)
        specs.push_back({"dot", 25, 1, 1, 1, {}, [](int, int) { return 1u; }});
    try {
        readSpriteFile(spriteFile(specs));
        ADD_FAILURE() << "read";
    } catch (const NotSupportedError& e) {
        EXPECT_EQ(e.userMessage(), loadString(IDS_CANNOT_LOAD_TYPE));
    }
}

TEST(RiscOsSprites, EveryCorpusFileOpensOrIsRefused)
{
    const fs::path folder = test::corpusDir("sprite");
    CELVANE_REQUIRE_CORPUS(folder);
    test::RecordingSink sink;
    std::map<std::string, int> frames;
    std::map<std::string, uint64_t> firstPictures;
    int refused = 0;
    for (const test::CorpusFile& file : test::corpusFiles(folder)) {
        SCOPED_TRACE(file.path.string());
        const Bytes data = readFile(file.path.string());
        GraphicList list;
        try {
            list.load(FileType::RiscOsSprite, data);
            frames[file.path.filename().string()] = list.frameCount();
            firstPictures[file.path.filename().string()] = fingerprint(*list.item(0).workingImage(0));
            for (int f = 0; f < list.frameCount(); ++f)
                ASSERT_NE(list.item(0).workingImage(f), nullptr);
        } catch (const Error& e) {
            EXPECT_EQ(e.userMessage(), loadString(IDS_CANNOT_LOAD_TYPE)) << e.what();
            ++refused;
        }
    }
    // Pictures looked at once by eye (the screen of a clown, a photograph at 1 and 8 bits, icons
    // of 16 and 32 bits with masks and with opacity, a new-format icon with its own palette).
    const std::map<std::string, uint64_t> looked = {
        {"Clown.ff9", 15613680487462786039u},     {"me_bw.ff9", 9545880875177841929u},
        {"True256.ff9", 3124622612773145076u},    {"mode0.ff9", 14566975212020529637u},
        {"5Sprites11.ff9", 12931203051486569703u}, {"32k.ff9", 12079290623388088153u},
        {"Nut16M.ff9", 1538488186786095262u},     {"ASprites.ff9", 15254019260807813430u},
    };
    for (const auto& [name, expected] : looked)
        EXPECT_EQ(firstPictures[name], expected) << name;
    // Only 4-colour sprites (grabptr, Hourglass) or a mode selector (Mode192) in these.
    EXPECT_EQ(refused, 3);
    EXPECT_EQ(frames["Widget5-Sprites.ff9"], 23);
    EXPECT_EQ(frames["Create256.ff9"], 3) << "the header of 0xFF bytes is no sprite";
    EXPECT_EQ(frames["HardTest.ff9"], 14) << "four sprites of 4 colours left out";
    EXPECT_EQ(frames["ASprites.ff9"], 2);
    EXPECT_EQ(frames["OddLength.ff9"], 1);
    EXPECT_EQ(frames["Resources-Sprites.ff9"], 14) << "14 pointers of 4 colours left out";
}

TEST(RiscOsSprites, ASpriteFileOpensAsAFilmOfItsSpritesSavesAndReopens)
{
    test::StartedProgram p;
    std::vector<SpriteSpec> specs;
    for (int i = 0; i < 3; ++i)
        specs.push_back({"walk" + std::to_string(i + 1), 28, 16, 12, 8, {},
                         [i](int x, int y) { return uint32_t(x == 4 * i && y < 10 ? 7 : 0); }});
    specs.push_back({"pointer", 26, 4, 4, 2, {}, [](int, int) { return 1u; }});
    const std::string path = p.dir.file("walk.ff9");
    test::writeBytes(path, spriteFile(specs));

    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_OPEN);
    ASSERT_EQ(p.sink.shown.size(), 1u) << "the 4-colour sprite is left out, and the user is told";
    EXPECT_NE(p.sink.shown[0].find("1 sprite of 4 colours"), std::string::npos) << p.sink.shown[0];
    EXPECT_EQ(p.frame().windowTitle().toStdString(), "walk.qfm * - Celvane");
    Film& film = *p.view().film();
    ASSERT_EQ(film.frameCount(), 3);
    EXPECT_EQ(film.width(), 16);
    EXPECT_EQ(film.bitsPerPixel(), 8);
    // Each frame shows its sprite's line in colour 7 of the RISC OS tints.
    const uint32_t line = rgb(119, 51, 51);
    for (int f = 0; f < 3; ++f) {
        const Sprite& frame = *film.workingImage(f);
        EXPECT_EQ(rgbAt(frame, 4 * f, 5), line) << f;
        EXPECT_NE(rgbAt(frame, 4 * f + 1, 5), line) << f;
    }

    p.chooser.paths.push_back(p.dir.file("walk.qfm"));
    p.frame().runCommand(ID_FILE_SAVE);
    ASSERT_TRUE(fs::exists(p.dir.file("walk.qfm")));
    p.frame().runCommand(ID_FILE_NEW);
    p.chooser.paths.push_back(p.dir.file("walk.qfm"));
    p.frame().runCommand(ID_FILE_OPEN);
    Film& again = *p.view().film();
    ASSERT_EQ(again.frameCount(), 3);
    for (int f = 0; f < 3; ++f)
        EXPECT_EQ(rgbAt(*again.workingImage(f), 4 * f, 9), line) << f;
    EXPECT_EQ(p.sink.shown.size(), 1u);
}
