// A child's drawing survives the program dying before it was saved: the copy made while drawing
// is offered at the next start and gives the drawing back; a saved film leaves no copy until it
// changes again, and a clean exit none either. A round taken while the child goes on drawing
// holds the film as it was when the round began.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "DrawingProgram.h"
#include "app/Autosave.h"
#include "base/CommandIds.h"
#include "film/FileType.h"

using namespace celvane;

TEST(Autosave, ACopyLeftByAProgramThatDiedIsOfferedAndGivesTheDrawingBack)
{
    test::TempDir kept;
    const std::filesystem::path state = kept.path() / "state", settings = kept.path() / "celvane.ini";
    std::filesystem::path left;
    int drawn = 0;
    {
        test::DrawingProgram p({.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700},
                                .settingsFile = settings, .stateFolder = state});
        p.drawLine({20, 30}, {180, 120});
        drawn = p.inked();
        p.app.autosave()->saveNow();
        p.app.autosave()->finishWriting();
        const auto copies = std::vector<std::filesystem::path>(
            std::filesystem::directory_iterator(Autosave::folder()), std::filesystem::directory_iterator());
        ASSERT_EQ(copies.size(), 1u);
        // As if the program had died: the copy is renamed after a process that has gone.
        left = copies[0].parent_path() / "999999-1.qfm";
        std::filesystem::copy_file(copies[0], left);
    }
    // The clean exit took its own copy away; the dead one's stays.
    ASSERT_TRUE(std::filesystem::exists(left));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(left.parent_path()), {}), 1);

    test::DrawingProgram again({.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700},
                                .settingsFile = settings, .stateFolder = state});
    ASSERT_EQ(again.sink.shown.size(), 1u);
    EXPECT_EQ(again.sink.shown[0].rfind("Celvane closed before this film was saved. Open the recovered copy?", 0), 0u);
    EXPECT_EQ(again.inked(), drawn);
    EXPECT_TRUE(again.view().document().isModified());
    EXPECT_TRUE(again.view().document().pathName().empty());
    EXPECT_FALSE(std::filesystem::exists(left));

    // Saved: no copy is kept for it, and later rounds make none until it changes again.
    const auto copiesAfterARound = [&] {
        again.app.autosave()->saveNow();
        again.app.autosave()->finishWriting();
        return std::distance(std::filesystem::directory_iterator(Autosave::folder()), {});
    };
    EXPECT_EQ(copiesAfterARound(), 1);
    again.chooser.paths.push_back(again.dir.file("rescued.qfm"));
    again.frame().runCommand(ID_FILE_SAVE);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Autosave::folder()), {}), 0);
    EXPECT_EQ(copiesAfterARound(), 0);
    again.drawLine({20, 120}, {180, 30});
    EXPECT_EQ(copiesAfterARound(), 1);
}

namespace {

// The ink pixels of each frame of a film, as a person counting them would see it.
std::vector<int> inkPerFrame(const Film& film)
{
    std::vector<int> counts;
    Sprite picture;
    for (int f = 0; f < film.frameCount(); ++f) {
        film.decodeFrameInto(f, picture);
        const uint32_t ink = picture.pixelValueOf(film.ink());
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += picture.pixelAt(x, y) == ink;
        counts.push_back(n);
    }
    return counts;
}

} // namespace

TEST(Autosave, ARoundTakenWhileDrawingGoesOnHoldsTheFilmAsItWasThen)
{
    test::TempDir kept;
    test::DrawingProgram p({.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700},
                            .settingsFile = kept.path() / "celvane.ini", .stateFolder = kept.path() / "state"});
    p.drawLine({20, 30}, {180, 120});
    p.frame().runCommand(ID_FRAME_NEW);
    p.drawLine({20, 120}, {180, 30}); // the current frame, drawn on and not stored yet
    const std::vector<int> then = inkPerFrame(p.film());
    ASSERT_GT(then[1], 0);

    p.app.autosave()->saveNow();
    // The child goes on: more lines on this frame, then on the first, while the copy is written.
    int y = 10;
    do {
        p.drawLine({10, y}, {190, y});
        y += 4;
    } while (p.app.autosave()->writing() && y < 140);
    p.view().goToFrame(0);
    p.drawLine({100, 5}, {100, 145});
    p.app.autosave()->finishWriting();

    const auto copies = std::vector<std::filesystem::path>(std::filesystem::directory_iterator(Autosave::folder()),
                                                           std::filesystem::directory_iterator());
    ASSERT_EQ(copies.size(), 1u);
    std::ifstream in(copies[0], std::ios::binary);
    const Bytes data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Film recovered;
    const ByteSpan span(data);
    recovered.load(0, nullptr, &span, FileType::Film);
    EXPECT_EQ(inkPerFrame(recovered), then);
    const std::vector<int> now = inkPerFrame(p.film());
    EXPECT_GT(now[0], then[0]);
    EXPECT_GT(now[1], then[1]);
}
