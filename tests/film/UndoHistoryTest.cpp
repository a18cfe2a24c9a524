#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "base/Errors.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/FilmBlock.h"
#include "film/FilmDelta.h"
#include "film/FilmFile.h"
#include "film/UndoSteps.h"

using namespace celvane;

namespace {

// A step of a given size that counts its swaps, or refuses them.
struct CountedStep : UndoStep {
    CountedStep(std::string name, size_t size, int* swaps, bool refuses = false)
        : UndoStep(std::move(name)), size_(size), swaps_(swaps), refuses_(refuses)
    {
    }
    int frame() const override { return 0; }
    int swap(Film&) override
    {
        if (refuses_)
            throw NotSupportedError("no longer fits");
        ++*swaps_;
        return 0;
    }
    size_t bytes() const override { return size_; }
    size_t size_;
    int* swaps_;
    bool refuses_;
};

std::string names(const UndoHistory& h)
{
    return (h.nextUndo() ? h.nextUndo()->name() : "-") + "/" + (h.nextRedo() ? h.nextRedo()->name() : "-");
}

} // namespace

TEST(UndoHistory, OldestStepsGoFirstAndTheNextUndoAlwaysStays)
{
    Film film;
    int swaps = 0;
    UndoHistory h;
    h.setLimits({3, 1000});
    for (const char* n : {"a", "b", "c", "d"})
        h.push(std::make_unique<CountedStep>(n, 100, &swaps));
    EXPECT_EQ(h.size(), 3u) << "a is past the step bound";
    EXPECT_EQ(h.bytes(), 300u);

    // The byte bound drops the oldest too, but never the step Undo takes next.
    h.push(std::make_unique<CountedStep>("big", 950, &swaps));
    EXPECT_EQ(h.size(), 1u);
    EXPECT_EQ(names(h), "big/-");

    h.setLimits({5, 1000});
    h.push(std::make_unique<CountedStep>("e", 10, &swaps));
    h.undo(film);
    h.undo(film);
    EXPECT_EQ(names(h), "-/big");
    EXPECT_EQ(swaps, 2);
    // Everything undone: the step furthest to redo goes first, the next redo stays.
    h.setLimits({1, 1000});
    EXPECT_EQ(names(h), "-/big");
    h.redo(film);
    EXPECT_EQ(names(h), "big/-");
    // Some undone, then a tighter step or byte bound: the one step still to undo stays.
    for (const UndoLimits tighter : {UndoLimits{1, 1000}, UndoLimits{5, 150}}) {
        UndoHistory some;
        for (const char* n : {"a", "b", "c"})
            some.push(std::make_unique<CountedStep>(n, 100, &swaps));
        some.undo(film);
        some.undo(film);
        some.setLimits(tighter);
        EXPECT_EQ(names(some), "a/-");
        some.undo(film);
        EXPECT_EQ(names(some), "-/a");
        some.redo(film);
        EXPECT_EQ(names(some), "a/-");
    }

    // A new change drops what could be redone.
    h.setLimits({5, 10000});
    h.push(std::make_unique<CountedStep>("f", 10, &swaps));
    h.undo(film);
    h.push(std::make_unique<CountedStep>("g", 10, &swaps));
    EXPECT_EQ(names(h), "g/-");
    EXPECT_EQ(h.bytes(), 960u);

    // A step the film no longer fits takes the whole history with it.
    h.push(std::make_unique<CountedStep>("bad", 10, &swaps, true));
    EXPECT_THROW(h.undo(film), NotSupportedError);
    EXPECT_EQ(h.size(), 0u);
    EXPECT_EQ(h.bytes(), 0u);
}

// Where the film was saved stays with the steps that lead there as older ones go, and is lost
// with them when a new change drops them.
TEST(UndoHistory, TheCleanPlaceFollowsTheStepsThatLeadThere)
{
    Film film;
    int swaps = 0;
    UndoHistory h;
    h.setLimits({3, 1000});
    const auto push = [&](const char* name) { h.push(std::make_unique<CountedStep>(name, 10, &swaps)); };
    push("a");
    push("b");
    h.setClean();
    push("c");
    push("d"); // a goes
    EXPECT_FALSE(h.isClean());
    h.undo(film);
    EXPECT_FALSE(h.isClean());
    h.undo(film);
    EXPECT_TRUE(h.isClean());
    h.redo(film);
    EXPECT_FALSE(h.isClean());
    h.undo(film);
    h.undo(film);
    push("e");
    h.undo(film);
    h.redo(film);
    EXPECT_FALSE(h.isClean());
}

// A drawing step keeps only the touched rectangle, at every depth a film can have, and swaps the
// frame between before and after exactly.
TEST(UndoHistory, DrawingStepsKeepTheTouchedRectangleAtEveryDepth)
{
    for (int depth : {1, 4, 8, 16, 32}) {
        SCOPED_TRACE(depth);
        const ImageInfo info = ImageInfo::forFilm(333, 120, depth);
        Film film;
        film.load(0, &info, nullptr, FileType::Film);
        Sprite& frame = *film.workingImage(0);
        for (int x = 0; x < frame.width(); x += 7)
            frame.setPixelAt(x, x % frame.height(), 1);
        Sprite before;
        film.decodeFrameInto(0, before);
        before.copyPixelsFrom(frame);
        // The change: a pixel in each of the rows 30 to 52, between x = 101 and 140.
        int left = 999, right = 0;
        for (int y = 30; y < 53; ++y) {
            const int x = 101 + (y * 3) % 40;
            frame.setPixelAt(x, y, frame.pixelAt(x, y) ^ 1);
            left = std::min(left, x);
            right = std::max(right, x + 1);
        }
        Sprite after;
        film.decodeFrameInto(0, after);
        after.copyPixelsFrom(frame);

        FrameChangeStep step("Pencil", 0, before, after);
        const Rect area = step.area();
        EXPECT_EQ(area.top, 30);
        EXPECT_EQ(area.bottom, 53);
        EXPECT_EQ(area.left, left * depth / 8);
        EXPECT_EQ(area.right, (right * depth + 7) / 8);
        EXPECT_LT(step.bytes(), before.imageSize() / 4);

        step.swap(film);
        EXPECT_EQ(std::memcmp(frame.pixels(), before.pixels(), before.imageSize()), 0);
        step.swap(film);
        EXPECT_EQ(std::memcmp(frame.pixels(), after.pixels(), after.imageSize()), 0);

        FrameChangeStep nothing("Pencil", 0, after, after);
        EXPECT_TRUE(nothing.area().isEmpty());
        EXPECT_EQ(nothing.bytes(), 0u);
    }
}

namespace {
Bytes fileOf(Film& film)
{
    Bytes file;
    ByteWriter out(&file);
    film.save(&out, FileType::Film, false);
    return file;
}

// A new film of `frames` frames, each with a band of its own.
void makeBanded(Film& film, int frames, bool compressed = true)
{
    const ImageInfo info = ImageInfo::forFilm(64, 48, 8, compressed);
    film.load(0, &info, nullptr, FileType::Film);
    for (int k = 0; k < frames; ++k)
        film.insertFrameDrawnBy(k, false, [k](Sprite& s) {
            for (int y = k; y < k + 5; ++y)
                std::memset(s.rowAddress(y), k + 1, size_t(s.usedBytesPerRow()));
        });
}

// The bytes frames first ... last take coded in a film file.
size_t recordBytes(const Bytes& file, int first, int last)
{
    FilmBlock block;
    block.assign(splitFilmFile(file).block);
    size_t n = 0;
    for (int k = first; k <= last; ++k)
        n += block.record(k).size();
    return n;
}
} // namespace

// A settings step puts back speed, motion, a palette film's colours and transitions byte for byte
// at both kinds of palette, and refuses a film whose frames have since come or gone.
TEST(UndoHistory, SettingsStepsSwapOnlyTheSettings)
{
    for (int depth : {8, 32}) {
        SCOPED_TRACE(depth);
        const ImageInfo info = ImageInfo::forFilm(40, 30, depth);
        Film film;
        film.load(0, &info, nullptr, FileType::Film);
        film.insertFrame(1, false);
        const Bytes before = fileOf(film);

        FilmSettingsStep step("Speed", film);
        EXPECT_TRUE(step.unchanged(film));
        GraphicSummary summary;
        film.getSummary(summary);
        summary.period = 333;
        summary.motion = Film::YoYo;
        film.setSummary(summary);
        // A deep film's palette colours no pixel: only a palette film's is one of its settings.
        if (depth <= 8)
            film.palette()->setEntryRgb(3, 0x123456);
        film.setFade(1, {FrameFade::Slide, FrameFade::FromTop, 50}, FrameFade::AllFields);
        EXPECT_FALSE(step.unchanged(film));
        const Bytes after = fileOf(film);

        film.setModified(false);
        step.swap(film);
        EXPECT_EQ(fileOf(film), before);
        EXPECT_TRUE(film.isModified());
        step.swap(film);
        EXPECT_EQ(fileOf(film), after);

        film.insertFrame(0, false);
        const Bytes moved = fileOf(film);
        EXPECT_THROW(step.swap(film), NotSupportedError);
        EXPECT_EQ(fileOf(film), moved);
    }
}

// A film told against another holds only what the other lacks, whatever order the other holds
// the rest in, and comes back byte for byte.
TEST(UndoHistory, FilmDeltasHoldOnlyWhatTheOtherFilmLacks)
{
    Film film;
    makeBanded(film, 12);
    const Bytes before = fileOf(film);
    film.deleteFrames(3, 5);
    film.insertFrameDrawnBy(0, false, [](Sprite& s) { s.fillPixel(7); });
    film.setFade(4, {FrameFade::Wipe, FrameFade::FromLeft, 30}, FrameFade::AllFields);
    const Bytes after = fileOf(film);

    // Besides the frames one side lacks, only the headers and the transitions differ.
    constexpr size_t kHeaders = 8 + FilmBlock::kHeaderSize, kTransitions = 64;
    const FilmDelta back(before, after);
    EXPECT_EQ(back.rebuild(after), before);
    const size_t deleted = recordBytes(before, 3, 5);
    EXPECT_GE(back.ownBytes(), deleted);
    EXPECT_LE(back.ownBytes(), deleted + kHeaders) << "the nine frames kept are not held again";
    const FilmDelta forth(after, before);
    EXPECT_EQ(forth.rebuild(before), after);
    EXPECT_LE(forth.ownBytes(), recordBytes(after, 0, 0) + kHeaders + kTransitions);

    // Nothing changed: nothing held.
    const FilmDelta same(after, after);
    EXPECT_EQ(same.ownBytes(), 0u);
    EXPECT_EQ(same.rebuild(after), after);

    // Frames that all take one length (an uncoded film) are told apart all the same.
    Film uncoded;
    makeBanded(uncoded, 6, false);
    const Bytes all = fileOf(uncoded);
    uncoded.deleteFrames(2, 2);
    const Bytes fewer = fileOf(uncoded);
    const FilmDelta one(all, fewer);
    EXPECT_EQ(one.rebuild(fewer), all);
    EXPECT_EQ(one.ownBytes(), recordBytes(all, 2, 2) + kHeaders);

    // A film without the frames it names is refused.
    Film other;
    makeBanded(other, 2);
    EXPECT_THROW(back.rebuild(fileOf(other)), NotSupportedError);

    // Bytes that are no film file are held whole, as are cut-off ones.
    const Bytes junk{1, 2, 3, 4, 5, 6, 7, 8, 9};
    const FilmDelta whole(junk, after);
    EXPECT_EQ(whole.ownBytes(), junk.size());
    EXPECT_EQ(whole.rebuild(after), junk);
    const Bytes cut(before.begin(), before.begin() + ptrdiff_t(before.size() / 2));
    EXPECT_EQ(FilmDelta(cut, after).rebuild(after), cut);
    EXPECT_EQ(FilmDelta(after, cut).rebuild(cut), after);
}
