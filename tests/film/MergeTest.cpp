#include <gtest/gtest.h>

#include "FilmTestSupport.h"
#include "film/FileType.h"
#include "film/GraphicList.h"
#include "film/Merge.h"
#include "sound/SoundPool.h"

using namespace celvane;

namespace {
std::vector<int> sources(int n, int m, int use, bool back = false)
{
    std::vector<int> s;
    for (int k = 0; k < n; ++k)
        s.push_back(backgroundSource(k, n, m, use, back));
    return s;
}

// A list holding one film of `frames` frames, frame i filled with colour index 10 + i.
GraphicList listOf(int frames, int width, int height)
{
    GraphicList list;
    list.loadNew(FileType::Film, ImageInfo::forFilm(width, height, 8));
    Film& film = *list.film();
    for (int i = 1; i < frames; ++i)
        film.insertFrame(i, false);
    for (int i = 0; i < frames; ++i) {
        film.workingImage(i)->fillPixel(uint32_t(10 + i));
        film.markCurrentModified();
    }
    return list;
}
} // namespace

TEST(Merge, BackgroundSourcesCycleStretchAndMirror)
{
    EXPECT_EQ(sources(7, 3, ImportOptions::CycleAround), (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
    EXPECT_EQ(sources(7, 3, ImportOptions::StretchToFit), (std::vector<int>{0, 0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(sources(4, 3, ImportOptions::UseFirst), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(sources(1, 3, ImportOptions::CycleAround), (std::vector<int>{0}));
    // A yo-yo source onto a film that does not travel back: 0 1 2 1, 0 1 ...
    EXPECT_EQ(sources(6, 3, ImportOptions::CycleAround, true), (std::vector<int>{0, 1, 2, 1, 0, 1}));
}

TEST(Merge, InsertedFramesFollowTheCurrentOne)
{
    GraphicList film = listOf(10, 8, 8);
    GraphicList three = listOf(3, 4, 4);
    EXPECT_EQ(mergeFrames(film, 5, three, ImageInfo{}), 8);
    Film& f = *film.film();
    EXPECT_EQ(f.frameCount(), 13);
    EXPECT_EQ(f.workingImage(6)->readPixel(7, 7), 10u); // source frame 0, scaled up
    EXPECT_EQ(f.workingImage(8)->readPixel(0, 0), 12u);
    EXPECT_EQ(f.workingImage(9)->readPixel(0, 0), 16u); // the old frame 6
}

TEST(Merge, BackgroundShowsThroughThePaperOnly)
{
    GraphicList list;
    list.loadNew(FileType::Film, ImageInfo::forFilm(8, 8, 8));
    Film& film = *list.film();
    film.insertFrame(1, false);
    film.insertFrame(2, false);
    film.workingImage(1)->rowAddress(3)[3] = 2; // a black dot on frame 1
    film.markCurrentModified();
    film.setFrameSelected(1, true);
    film.setFrameSelected(2, true);
    GraphicList picture = listOf(1, 8, 8);
    ImportOptions options;
    options.asBackground = true;
    options.applyTo = ImportOptions::SelectedFrames;
    mergeBackground(list, 0, picture, ImageInfo{}, options);
    const uint32_t paper = film.workingImage(0)->pixelValueOf(film.paper());
    EXPECT_EQ(film.workingImage(0)->readPixel(0, 0), paper); // not selected
    EXPECT_EQ(film.workingImage(1)->readPixel(0, 0), 10u);
    EXPECT_EQ(film.workingImage(1)->readPixel(3, 3), 2u); // the drawing stays on top
    EXPECT_EQ(film.workingImage(2)->readPixel(5, 5), 10u);
}

TEST(Merge, CancellingLeavesTheTargetAsItWas)
{
    GraphicList empty;
    GraphicList three = listOf(3, 4, 4);
    EXPECT_THROW(mergeFrames(empty, 0, three, ImageInfo::forFilm(4, 4, 8), [](int done, int) { return done < 2; }),
                 UserCancel);
    int calls = 0;
    GraphicList film = listOf(2, 4, 4);
    mergeFrames(film, 0, three, ImageInfo{}, [&](int done, int total) {
        EXPECT_EQ(total, 3);
        EXPECT_EQ(done, ++calls);
        return true;
    });
    EXPECT_EQ(calls, 3);
}

// Frames brought in from another film bring their sounds: the entry names the same sound in the
// film it joins, however that film numbers its own.
TEST(Merge, InsertedFramesBringTheirSounds)
{
    GraphicList film = listOf(2, 8, 8);
    GraphicList other = listOf(2, 8, 8);
    auto makeSound = [](uint8_t level) {
        auto s = Sound::create(Sound::Pcm8Mono);
        s->setData(Sound::Pcm8Mono, 8000, Bytes(20, level), 20);
        return SoundPool::shared().add(std::move(s));
    };
    film.film()->soundLibrary().add(makeSound(1), "own");
    other.film()->soundLibrary().add(makeSound(2), "first");
    other.film()->soundLibrary().add(makeSound(3), "bark");
    FrameSoundEntry entry;
    entry.words[0] = 1;
    entry.words[1] = 256 + 100;
    other.film()->setSoundEntry(1, 0, entry);

    mergeFrames(film, 1, other, ImageInfo{});
    Film& f = *film.film();
    FrameSoundEntry got;
    ASSERT_TRUE(f.soundEntry(3, 0, got));
    const int number = int(got.words[0] & 0xFFFF);
    ASSERT_LT(number, f.soundLibrary().count());
    EXPECT_EQ(f.soundLibrary().sound(number), other.film()->soundLibrary().sound(1));
    EXPECT_EQ(f.soundLibrary().name(number), "bark");
    EXPECT_EQ(got.words[1], 356u);
}
