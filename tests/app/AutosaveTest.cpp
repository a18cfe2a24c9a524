// A child's drawing survives the program dying before it was saved: the copies made while drawing
// are offered at the next start by the films' names and give the drawing back, a film saved before
// under its own file; a saved film leaves no copy until it changes again, and a clean exit none
// either. A round taken while the child goes on drawing holds the film as it was when the round
// began.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <regex>
#include <set>

#include "DrawingProgram.h"
#include "app/Autosave.h"
#include "app/CMainFrame.h"
#include "base/CommandIds.h"
#include "film/FileType.h"

using namespace celvane;

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

TEST(Autosave, FilmsLeftByAProgramThatDiedAreOfferedByNameAndComeBackUnderTheirOwnFiles)
{
    test::TempDir kept;
    const std::filesystem::path state = kept.path() / "state", settings = kept.path() / "celvane.ini";
    const test::ProgramOptions options{.filmWidth = 200, .filmHeight = 150, .scale = 200, .window = {900, 700},
                                       .singleDocument = false, .settingsFile = settings, .stateFolder = state};
    const std::string bounce = (kept.path() / "bounce.qfm").string();
    Bytes savedBefore;
    std::vector<int> drawn;
    {
        // One film saved and drawn on again, one never saved.
        test::DrawingProgram p(options);
        p.drawLine({20, 30}, {180, 120});
        p.chooser.paths.push_back(bounce);
        p.frame().runCommand(ID_FILE_SAVE);
        savedBefore = readFile(bounce);
        p.drawLine({20, 120}, {180, 30});
        drawn = inkPerFrame(p.film());
        p.frame().runCommand(ID_FILE_NEW);
        p.drawLine({100, 10}, {100, 140});
        p.app.autosave()->saveNow();
        p.app.autosave()->finishWriting();
        // As if the program had died: the copies and their names go under a process that has gone.
        const std::vector<std::filesystem::path> made(std::filesystem::directory_iterator(Autosave::folder()), {});
        for (const std::filesystem::path& file : made) {
            const std::string name = file.filename().string();
            std::filesystem::copy_file(file, file.parent_path() / ("999999" + name.substr(name.find('-'))));
        }
    }
    // The clean exit took its own copies away; the dead one's stay.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Autosave::folder()), {}), 4);

    test::DrawingProgram again(options);
    ASSERT_EQ(again.sink.shown.size(), 2u);
    // Each by its film's name and the time of its copy, made today.
    const std::regex offered("Celvane closed before this film was saved: (.+), [0-2][0-9]:[0-5][0-9]\\. Open the "
                             "recovered copy\\?");
    std::set<std::string> named;
    for (const std::string& offer : again.sink.shown) {
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(offer, parts, offered)) << offer;
        named.insert(parts[1]);
    }
    EXPECT_EQ(named, (std::set<std::string>{"bounce.qfm", "AFilm2"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Autosave::folder()), {}), 0);

    // The saved film is back under its own file, changed; the other is a new untitled film.
    CCelvaneView* back = nullptr;
    int untitled = 0;
    for (CCelvaneView* view : again.frame().views()) {
        const CCelvaneDoc& doc = view->document();
        if (doc.pathName() == bounce)
            back = view;
        else if (doc.isModified())
            untitled += doc.pathName().empty();
    }
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->document().isModified());
    EXPECT_EQ(untitled, 1);
    emit back->activated(back); // the window brought to the front
    EXPECT_EQ(again.frame().windowTitle().toStdString(), "bounce.qfm * - Celvane");
    EXPECT_EQ(inkPerFrame(*back->film()), drawn);

    // Save writes the film's own file, asking nothing; no copy is kept for it, and later rounds
    // make none until it changes again.
    const auto copiesAfterARound = [&] {
        again.app.autosave()->saveNow();
        again.app.autosave()->finishWriting();
        return std::distance(std::filesystem::directory_iterator(Autosave::folder()), {});
    };
    EXPECT_EQ(copiesAfterARound(), 4);
    again.frame().runCommand(ID_FILE_SAVE);
    EXPECT_EQ(again.sink.shown.size(), 2u);
    EXPECT_NE(readFile(bounce), savedBefore);
    Film reread;
    const Bytes file = readFile(bounce);
    const ByteSpan span(file);
    reread.load(0, nullptr, &span, FileType::Film);
    EXPECT_EQ(inkPerFrame(reread), drawn);
    EXPECT_EQ(copiesAfterARound(), 2);
    again.drawLine({100, 10}, {10, 100});
    EXPECT_EQ(copiesAfterARound(), 4);
}


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

    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(Autosave::folder()))
        if (entry.path().extension() == ".qfm")
            copies.push_back(entry.path());
    ASSERT_EQ(copies.size(), 1u);
    const Bytes data = readFile(copies[0].string());
    Film recovered;
    const ByteSpan span(data);
    recovered.load(0, nullptr, &span, FileType::Film);
    EXPECT_EQ(inkPerFrame(recovered), then);
    const std::vector<int> now = inkPerFrame(p.film());
    EXPECT_GT(now[0], then[0]);
    EXPECT_GT(now[1], then[1]);
}
