#include <gtest/gtest.h>

#include "FilmTestSupport.h"
#include "base/Chunks.h"
#include "film/FileType.h"
#include "film/FrameEditing.h"
#include "film/GraphicList.h"

using namespace celvane;

namespace {
std::unique_ptr<Film> filmOf(int frames)
{
    auto film = std::make_unique<Film>();
    const ImageInfo info = ImageInfo::forFilm(8, 8, 8);
    film->load(0, &info, nullptr, FileType::Film);
    for (int i = 1; i < frames; ++i)
        film->insertFrame(i, false);
    return film;
}

std::string marks(const Film& film)
{
    std::string s;
    for (int i = 0; i < film.frameCount(); ++i)
        s += film.isFrameSelected(i) ? 'x' : '.';
    return s;
}

void markRange(Film& film, int a, int b)
{
    for (int i = a; i <= b; ++i)
        film.setFrameSelected(i, true);
}
} // namespace

TEST(FrameEditing, MarkGrowsAndTrimsTheFirstRun)
{
    const auto after = [](int k) {
        auto film = filmOf(12);
        markRange(*film, 3, 8);
        FrameEditing::mark(*film, k);
        return marks(*film);
    };
    EXPECT_EQ(after(10), "...xxxxxxxx.");
    EXPECT_EQ(after(7), "...xxxxx....");
    EXPECT_EQ(after(8), "...xxxxx....");
    EXPECT_EQ(after(1), ".xxxxxxxx...");
    EXPECT_EQ(after(4), "....xxxxx...");
    auto film = filmOf(3);
    FrameEditing::mark(*film, 2);
    EXPECT_EQ(marks(*film), "..x");
    FrameEditing::selectRange(*film, 2, 0);
    EXPECT_EQ(marks(*film), "xxx");
    FrameEditing::selectRange(*film, 1, 1);
    EXPECT_EQ(marks(*film), "...");
    EXPECT_FALSE(FrameEditing::anyMarked(*film));
    FrameEditing::selectAll(*film);
    EXPECT_TRUE(FrameEditing::allMarked(*film));
    FrameEditing::clearSelection(*film);
    EXPECT_FALSE(FrameEditing::anyMarked(*film));
}

TEST(FrameEditing, DeletingMovesTheCurrentFrame)
{
    auto film = filmOf(10);
    markRange(*film, 2, 4);
    EXPECT_EQ(FrameEditing::deleteSelection(*film, 6), 3);
    EXPECT_EQ(film->frameCount(), 7);

    film = filmOf(10);
    markRange(*film, 2, 4);
    EXPECT_EQ(FrameEditing::deleteSelection(*film, 3), 2);

    film = filmOf(10);
    markRange(*film, 1, 1);
    markRange(*film, 7, 9);
    EXPECT_EQ(FrameEditing::deleteSelection(*film, 9), 5); // clamped to the new last frame
    EXPECT_EQ(film->frameCount(), 6);

    film = filmOf(4);
    EXPECT_EQ(FrameEditing::deleteSelection(*film, 2), 2); // no marks: only the current frame
    EXPECT_EQ(film->frameCount(), 3);

    FrameEditing::selectAll(*film);
    EXPECT_EQ(FrameEditing::deleteSelection(*film, 1), 0);
    EXPECT_TRUE(film->isEmpty());
}

TEST(FrameEditing, NewAndDuplicateGoAfterTheCurrentFrame)
{
    auto film = filmOf(3);
    test::paintPattern(*film, 1, 5);
    const uint64_t painted = test::frameSum(*film, 1);
    EXPECT_EQ(FrameEditing::insertAfter(*film, 1, true), 2);
    EXPECT_EQ(test::frameSum(*film, 2), painted);
    EXPECT_EQ(FrameEditing::insertAfter(*film, 3, false), 4);
    EXPECT_EQ(film->frameCount(), 5);
    auto empty = filmOf(1);
    EXPECT_EQ(FrameEditing::insertAfter(*empty, 0, false), 1);
    EXPECT_EQ(empty->frameCount(), 2);
}

TEST(FrameEditing, CopyMarksTheCurrentFrameAndWritesAStampFile)
{
    GraphicList list;
    list.loadNew(FileType::Film, ImageInfo::forFilm(4, 4, 8));
    Film& film = *list.film();
    film.insertFrame(1, false);
    film.setName("hop");
    const Bytes data = FrameEditing::copyAsStamps(list, 1);
    EXPECT_TRUE(film.isFrameSelected(1));
    EXPECT_EQ(tagText(loadLE32(data.data())), "NAM1");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&data[8])), "hop2");
    EXPECT_EQ(loadLE32(&data[data.size() - 4]), 0xFFFFFFFFu);

    GraphicList pasted;
    pasted.load(FileType::StampFile, ByteSpan(data).first(data.size() - 4));
    ASSERT_NE(pasted.film(), nullptr);
    EXPECT_EQ(pasted.film()->frameCount(), 1);
}
