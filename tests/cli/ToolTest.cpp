#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "base/ByteIO.h"

using namespace celvane;

using test::ToolRun;
const auto tool = test::runTool;

TEST(Tool, NewInfoFrameAndRecode)
{
    test::TempDir dir;
    const std::string film = dir.file("a.qfm");
    ASSERT_EQ(tool("new --width 21 --height 9 --depth 4 --frames 3 --period 40 " + film).status, 0);

    const ToolRun info = tool("info --json " + film);
    ASSERT_EQ(info.status, 0) << info.out;
    for (const char* part : {"\"width\":21", "\"height\":9", "\"depth\":4", "\"frames\":3", "\"period\":40",
                             "\"motion\":0", "\"compressed\":true", "\"name\":\"\"", "\"xshift\":1", "\"yshift\":1",
                             "\"ink\":0", "\"paper\":15", "\"fades\":[[0,-1,0],[0,-1,0],[0,-1,0]]",
                             "\"chunks\":[\"ACEF\",\"RATE\",\"PALE\"]", "\"palette\":[0,32769,"})
        EXPECT_NE(info.out.find(part), std::string::npos) << part << "\n" << info.out;
    EXPECT_EQ(tool("info " + film).status, 0);

    const std::string bmp = dir.file("f.bmp");
    ASSERT_EQ(tool("frame " + film + " 2 -o " + bmp).status, 0);
    const Bytes b = readFile(bmp);
    ASSERT_EQ(b.size(), 14u + 40 + 64 + 12 * 9);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(loadLE32(&b[2]), b.size());
    EXPECT_EQ(loadLE32(&b[10]), 14u + 40 + 64);
    EXPECT_EQ(b[14 + 14], 4); // bits per pixel
    EXPECT_EQ(b[b.size() - 2], 0xFF); // white paper (entry 15) in the top row's last used byte

    // Coding every frame again gives the very same file.
    const std::string again = dir.file("b.qfm");
    ASSERT_EQ(tool("recode " + film + " " + again).status, 0);
    EXPECT_EQ(readFile(again), readFile(film));
}

TEST(Tool, ErrorsUseTheProgramsMessages)
{
    test::TempDir dir;
    const ToolRun missing = tool("info " + dir.file("none.qfm"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("I/O error (file)"), std::string::npos) << missing.out;

    const std::string bad = dir.file("bad.qfm");
    test::writeText(bad, "ACEF\x10\0\0\0garbage!");
    const ToolRun corrupt = tool("info " + bad);
    EXPECT_EQ(corrupt.status, 1);
    EXPECT_NE(corrupt.out.find("The file format was not understood."), std::string::npos) << corrupt.out;

    const std::string film = dir.file("a.qfm");
    ASSERT_EQ(tool("new --width 4 --height 4 --depth 8 " + film).status, 0);
    const ToolRun gif = tool("recode " + film + " " + dir.file("a.gif"));
    EXPECT_EQ(gif.status, 1);
    EXPECT_NE(gif.out.find("Sorry, you can't export a film in this format."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.gif")));

    EXPECT_EQ(tool("frame " + film + " 1 -o " + dir.file("x.bmp")).status, 2);
    EXPECT_EQ(tool("new --width 4 --height 4 --depth 3 " + dir.file("c.qfm")).status, 2);
    EXPECT_EQ(tool("explode").status, 2);
}

TEST(Tool, ConvertWritesEveryKindAndReadsPictures)
{
    test::TempDir dir;
    const std::string film = dir.file("a.qfm");
    ASSERT_EQ(tool("new --width 16 --height 12 --depth 8 --frames 3 " + film).status, 0);
    for (const char* out : {"b.gif", "c.bmp", "d.png", "e.pal", "f.flc", "g.qfm"}) {
        const ToolRun r = tool("convert " + film + " " + dir.file(out));
        EXPECT_EQ(r.status, 0) << out << ": " << r.out;
        EXPECT_TRUE(std::filesystem::exists(dir.file(out))) << out;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.file("c2.bmp")));
    // A PNG opens as a one-frame film of its size.
    const ToolRun info = tool("info --json " + dir.file("d1.png"));
    EXPECT_EQ(info.status, 0) << info.out;
    EXPECT_NE(info.out.find("\"width\":16,\"height\":12"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"frames\":1"), std::string::npos);
    // Only the chosen frames.
    ASSERT_EQ(tool("convert --selection 1-1 " + film + " " + dir.file("one.qfm")).status, 0);
    EXPECT_NE(tool("info --json " + dir.file("one.qfm")).out.find("\"frames\":1"), std::string::npos);
    EXPECT_EQ(tool("convert " + film + " " + dir.file("x.doc")).status, 1);
}

TEST(Tool, WarningsGoToStandardErrorAndTheJsonStaysClean)
{
    test::TempDir dir;
    // A one-pixel GIF whose codes stop without their end code, and the same cut inside its data.
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                       ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 1, 0x0C, 0, ';'};
    const std::string noEnd = dir.file("noend.gif");
    test::writeBytes(noEnd, gif);
    const std::string cut = dir.file("cut.gif");
    test::writeBytes(cut, Bytes(gif.begin(), gif.end() - 3));
    for (const std::string& path : {noEnd, cut}) {
        std::string out;
        ASSERT_EQ(test::runCommand(std::string(CELVANE_TOOL) + " info --json " + path + " 2>/dev/null", &out), 0);
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.front(), '{') << out;
        EXPECT_EQ(out.substr(out.size() - 2), "}\n") << out;
    }
    auto standardError = [](const std::string& path) {
        std::string err;
        test::runCommand(std::string(CELVANE_TOOL) + " info --json " + path + " 2>&1 >/dev/null", &err);
        return err;
    };
    EXPECT_NE(standardError(cut).find("damaged"), std::string::npos);
    EXPECT_EQ(standardError(noEnd), "");
}
