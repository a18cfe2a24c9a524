#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <random>

#include "FilmTestSupport.h"
#include "TestSupport.h"
#include "base/Chunks.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "sound/SoundPool.h"

using namespace celvane;
using test::frameSum;
using test::paintPattern;

namespace {

Bytes saved(Film& film, int type = FileType::Film, bool selectionOnly = false)
{
    Bytes data;
    ByteWriter w(&data);
    const size_t n = film.save(&w, type, selectionOnly);
    EXPECT_EQ(n, data.size());
    EXPECT_EQ(film.save(nullptr, type, selectionOnly), n); // counting agrees with writing
    return data;
}

std::unique_ptr<Film> loaded(const Bytes& data)
{
    auto film = std::make_unique<Film>();
    const ByteSpan span(data);
    film->load(0, nullptr, &span, FileType::Film);
    return film;
}

std::vector<std::string> tagsOf(const Bytes& data)
{
    std::vector<std::string> tags;
    const ChunkSequence chunks(data);
    for (const Chunk& c : chunks.chunks())
        tags.push_back(tagText(c.tag));
    return tags;
}

std::unique_ptr<Film> newFilm(int w, int h, int bits)
{
    auto film = std::make_unique<Film>();
    const ImageInfo info = ImageInfo::forFilm(w, h, bits);
    film->load(0, &info, nullptr, FileType::Film);
    return film;
}

} // namespace

TEST(Film, NewFilmHasOneVirtualFrameAndSavesOneFrame)
{
    auto film = newFilm(20, 10, 8);
    EXPECT_TRUE(film->isEmpty());
    EXPECT_EQ(film->frameCount(), 1);
    EXPECT_FALSE(film->isModified());
    EXPECT_EQ(film->period(), 80);
    EXPECT_EQ(film->workingImage(0)->readPixel(3, 3), film->workingImage(0)->pixelValueOf(film->paper()));
    EXPECT_EQ(film->paper() >> 8, 0xFFFFFFu);
    EXPECT_EQ(film->ink() >> 8, 0u);

    const Bytes data = saved(*film);
    EXPECT_EQ(tagsOf(data), (std::vector<std::string>{"ACEF", "RATE", "PALE"}));
    // The header of a new film.
    EXPECT_EQ(loadLE32(&data[8 + 16]), 64u);
    EXPECT_EQ(loadLE32(&data[8 + 20]), 40u);
    EXPECT_EQ(loadLE32(&data[8 + 24]), 20u);
    EXPECT_EQ(loadLE32(&data[8 + 28]), 28u);
    EXPECT_EQ(loadLE32(&data[8 + 32]), 1u);
    EXPECT_EQ(data[8 + 4], 13);
    EXPECT_EQ(loadLE32(&data[8]), loadLE32(&data[4]) - 8); // block size word

    auto back = loaded(data);
    EXPECT_FALSE(back->isEmpty());
    EXPECT_EQ(back->frameCount(), 1);
    EXPECT_EQ(back->period(), 83);
    EXPECT_EQ(frameSum(*back, 0), frameSum(*film, 0));
}

TEST(Film, EveryDepthRoundTripsFramesPaletteAndSettings)
{
    for (int bits : {1, 4, 8, 16, 32}) {
        SCOPED_TRACE(bits);
        auto film = newFilm(33, 7, bits);
        for (int i = 1; i < 4; ++i)
            film->insertFrame(i, false);
        std::vector<uint64_t> sums;
        for (int i = 0; i < 4; ++i) {
            paintPattern(*film, i, uint32_t(i + 1));
            sums.push_back(frameSum(*film, i));
        }
        film->setName("walk12");
        GraphicSummary s;
        film->getSummary(s);
        s.period = 40;
        s.motion = Film::YoYo;
        film->setSummary(s);
        const Bytes data = saved(*film);
        auto back = loaded(data);
        ASSERT_EQ(back->frameCount(), 4);
        EXPECT_EQ(back->bitsPerPixel(), bits);
        EXPECT_EQ(back->width(), 33);
        EXPECT_EQ(back->height(), 7);
        EXPECT_EQ(back->period(), 40);
        EXPECT_EQ(back->motion(), Film::YoYo);
        EXPECT_EQ(back->name(), "walk");
        EXPECT_EQ(back->frameName(1), "walk2");
        EXPECT_EQ(back->ink(), film->ink());
        EXPECT_EQ(back->paper(), film->paper());
        for (int i = 3; i >= 0; --i)
            EXPECT_EQ(frameSum(*back, i), sums[size_t(i)]) << i;
        EXPECT_EQ(saved(*back), data); // nothing drifts on a second save
        const size_t pale = bits == 1 ? 44 : bits == 4 ? 100 : 1060;
        EXPECT_EQ(ChunkSequence(data).find(makeTag("PALE"))->payload.size() + 8, pale);
    }
}

TEST(Film, NamesFollowTheFilmName)
{
    auto film = newFilm(4, 4, 8);
    EXPECT_EQ(film->frameName(0), "Untitled1");
    film->setName("walk");
    EXPECT_EQ(film->frameName(1), "walk2");
    film->setName("averyveryverylongname");
    EXPECT_EQ(film->name(), "averyveryver");
    film->setName("2000");
    EXPECT_EQ(film->name(), "");
    EXPECT_EQ(film->frameName(0), "Untitled1");
    // A name with a space comes back whole from the file.
    film->setName("my walk");
    auto back = loaded(saved(*film));
    EXPECT_EQ(back->name(), "my walk");
    EXPECT_EQ(back->frameName(1), "my walk2");
}

TEST(Film, InsertDuplicateAndDeleteKeepFramesSoundsAndFadesInStep)
{
    auto film = newFilm(16, 16, 8);
    paintPattern(*film, 0, 1);
    film->insertFrame(1, true); // a copy of frame 0
    EXPECT_EQ(film->frameCount(), 2);
    EXPECT_EQ(frameSum(*film, 1), frameSum(*film, 0));
    film->setFade(1, FrameFade{FrameFade::Slide, FrameFade::FromLeft, 5}, FrameFade::AllFields);
    film->insertFrame(2, true);
    EXPECT_EQ(film->fade(2), film->fade(1)); // duplicating copies the fade
    film->insertFrame(3, false);             // at the end
    EXPECT_EQ(film->fade(3), FrameFade{});
    paintPattern(*film, 3, 9);
    const uint64_t last = frameSum(*film, 3);

    FrameSoundEntry e;
    e.words[0] = 2;
    e.words[1] = 256;
    film->setSoundEntry(2, 0, e);
    FrameSoundEntry out;
    ASSERT_TRUE(film->soundEntry(2, 0, out));
    EXPECT_EQ(out, e);

    film->setFrameSelected(3, true);
    film->deleteFrames(1, 2);
    EXPECT_EQ(film->frameCount(), 2);
    EXPECT_EQ(frameSum(*film, 1), last);
    EXPECT_TRUE(film->isFrameSelected(1)); // marks stay with their frames
    EXPECT_FALSE(film->soundEntry(1, 0, out));
    EXPECT_EQ(film->fade(1), FrameFade{});

    film->deleteFrames(0, 1);
    EXPECT_TRUE(film->isEmpty());
    EXPECT_EQ(film->frameCount(), 1);
    EXPECT_EQ(film->countSelectedFrames(), 0);
    const Sprite* blank = film->workingImage(0);
    EXPECT_EQ(blank->readPixel(0, 0), blank->pixelValueOf(film->paper()));
}

TEST(Film, EditsAreStoredWhenAnotherFrameBecomesCurrentAndCanBeDiscarded)
{
    auto film = newFilm(8, 8, 4);
    film->insertFrame(1, false);
    paintPattern(*film, 0, 3);
    const uint64_t painted = frameSum(*film, 0);
    film->makeCurrent(1);
    EXPECT_EQ(frameSum(*film, 0), painted);

    paintPattern(*film, 1, 4);
    film->discardEdits();
    EXPECT_NE(frameSum(*film, 1), frameSum(*film, 0));
    auto blank = newFilm(8, 8, 4);
    EXPECT_EQ(frameSum(*film, 1), frameSum(*blank, 0));
}

// A frame stored over its old record, smaller or after being deleted, never touches another.
TEST(Film, StoringOrDeletingAFrameLeavesTheOthersAlone)
{
    auto film = newFilm(24, 12, 8);
    film->insertFrame(1, false);
    film->insertFrame(2, false);
    std::vector<uint64_t> sums;
    for (int f = 0; f < 3; ++f) {
        paintPattern(*film, f, uint32_t(f + 7));
        sums.push_back(frameSum(*film, f));
    }
    // Cleared to paper, the middle frame codes far smaller than the pattern it replaces.
    film->workingImage(1)->fillColour(film->paper());
    film->markCurrentModified();
    const uint64_t blank = frameSum(*film, 1);
    film->makeCurrent(0);
    film->makeCurrent(2);
    EXPECT_EQ(frameSum(*film, 0), sums[0]);
    EXPECT_EQ(frameSum(*film, 1), blank);
    EXPECT_EQ(frameSum(*film, 2), sums[2]);

    // Drawn on and deleted before it was stored: the drawing goes with it.
    paintPattern(*film, 2, 99);
    film->deleteFrames(2, 2);
    film->makeCurrent(0);
    film->makeCurrent(1);
    EXPECT_EQ(frameSum(*film, 0), sums[0]);
    EXPECT_EQ(frameSum(*film, 1), blank);
}

TEST(Film, ReadingAFrameLeavesTheFilmAsItIs)
{
    auto film = newFilm(8, 8, 4);
    film->insertFrame(1, false);
    paintPattern(*film, 1, 5);
    const uint64_t drawn = frameSum(*film, 1);
    Sprite read;
    film->decodeFrameInto(0, read);
    EXPECT_EQ(read.readPixel(3, 3), read.pixelValueOf(film->paper()));
    EXPECT_EQ(film->currentFrame(), 1);
    EXPECT_TRUE(film->currentModified()) << "the drawing is not stored by a read";
    film->decodeFrameInto(1, read);
    EXPECT_EQ(std::memcmp(read.pixels(), film->workingImage(1)->pixels(), read.imageSize()), 0);
    EXPECT_EQ(frameSum(*film, 1), drawn);
    EXPECT_THROW(film->decodeFrameInto(2, read), NotSupportedError);
}

// Frames written through a gap, around a gap and without one must read back the same; a
// model of plain vectors says what the frames should be.
TEST(Film, GapIsInvisibleToTheFrames)
{
    std::mt19937 rng(5);
    auto film = newFilm(24, 12, 8);
    std::vector<uint64_t> model = {frameSum(*film, 0)};
    for (int step = 0; step < 200; ++step) {
        const int count = film->frameCount();
        switch (rng() % 6) {
        case 0: {
            const int at = int(rng() % uint32_t(count + 1));
            film->insertFrame(at, false);
            model.insert(model.begin() + at, frameSum(*film, at));
            break;
        }
        case 1:
            film->reserveGap(int(rng() % uint32_t(count + 1)), 8 * (rng() % 200));
            break;
        case 2: {
            const int f = int(rng() % uint32_t(count));
            paintPattern(*film, f, rng());
            model[size_t(f)] = frameSum(*film, f);
            break;
        }
        case 3: {
            // Paper codes smaller than any drawing: the record shrinks.
            const int f = int(rng() % uint32_t(count));
            film->workingImage(f)->fillColour(film->paper());
            film->markCurrentModified();
            model[size_t(f)] = frameSum(*film, f);
            break;
        }
        case 4:
            if (count > 1) {
                const int f = int(rng() % uint32_t(count));
                film->deleteFrames(f, f);
                model.erase(model.begin() + f);
            }
            break;
        default:
            film->makeCurrent(int(rng() % uint32_t(count)));
        }
        ASSERT_EQ(film->frameCount(), int(model.size()));
    }
    for (int i = 0; i < film->frameCount(); ++i)
        EXPECT_EQ(frameSum(*film, i), model[size_t(i)]) << i;
    auto back = loaded(saved(*film));
    EXPECT_EQ(film->gapSize(), 0u);
    for (int i = 0; i < back->frameCount(); ++i)
        EXPECT_EQ(frameSum(*back, i), model[size_t(i)]) << i;
}

TEST(Film, SelectionOnlyWritingAndOtherKinds)
{
    auto film = newFilm(8, 8, 8);
    for (int i = 1; i < 3; ++i)
        film->insertFrame(i, false);
    for (int i = 0; i < 3; ++i)
        paintPattern(*film, i, uint32_t(10 + i));
    film->setFade(2, FrameFade{FrameFade::Wipe, FrameFade::FromRight, 0}, FrameFade::AllFields);
    film->setFrameSelected(2, true);
    const uint64_t third = frameSum(*film, 2);

    const Bytes part = saved(*film, FileType::Film, true);
    auto back = loaded(part);
    ASSERT_EQ(back->frameCount(), 1);
    EXPECT_EQ(frameSum(*back, 0), third);
    EXPECT_EQ(back->fade(0).kind, FrameFade::Wipe);
    EXPECT_EQ(loadLE32(&part[8]), loadLE32(&part[4]) - 8);
    EXPECT_EQ(saved(*film).size(), film->save(nullptr, FileType::Film, false)); // a full write after it

    const Bytes stamp = saved(*film, FileType::StampFile);
    EXPECT_EQ(tagText(loadLE32(stamp.data())), "C2A");
    EXPECT_EQ(loadLE32(&stamp[4]), stamp.size());
    EXPECT_EQ(Bytes(stamp.begin() + 8, stamp.end()), saved(*film));

    // A bare block is known by a second word below 9: here an empty name of zero bytes.
    Bytes bare = saved(*film, FileType::BareFilmBlock);
    EXPECT_THROW(loaded(bare), ArchiveError); // the name byte 13 makes it look like chunks
    std::fill(bare.begin() + 4, bare.begin() + 16, 0);
    auto fromBare = loaded(bare);
    EXPECT_EQ(fromBare->frameCount(), 3);
    EXPECT_EQ(frameSum(*fromBare, 2), third);

    try {
        film->save(nullptr, FileType::Gif, false);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.userMessage(), "Sorry, you can't export a film in this format.");
    }
}

namespace {

Sound* toneOf(int rate, uint8_t level)
{
    auto s = Sound::create(Sound::Pcm8Mono);
    s->setData(Sound::Pcm8Mono, rate, Bytes(40, level), 40);
    return SoundPool::shared().add(std::move(s));
}

FrameSoundEntry entryFor(int sound, uint32_t flags = 0)
{
    FrameSoundEntry e;
    e.words[0] = uint32_t(sound) | flags;
    e.words[1] = 256 + 127;
    e.words[3] = 255;
    return e;
}

} // namespace

// Frame sounds go through save and load; only the sounds in use are kept, numbered afresh in
// library order, and a selection keeps only the sounds of its frames.
TEST(Film, SoundsInUseAreSavedAndRenumbered)
{
    auto film = newFilm(8, 8, 8);
    film->insertFrame(1, false);
    film->insertFrame(2, false);
    SoundLibrary& library = film->soundLibrary();
    library.add(toneOf(8000, 1), "unused");
    library.add(toneOf(8000, 2), "bell");
    library.add(toneOf(11025, 3), "drum");
    film->setSoundEntry(0, 0, entryFor(2));
    film->setSoundEntry(2, 0, entryFor(1, 0x00010000)); // the frames flag keeps the number
    film->setSoundEntry(2, 1, entryFor(7, 0x00020000)); // not played: kept as it is

    auto back = loaded(saved(*film));
    ASSERT_EQ(back->soundLibrary().count(), 2);
    EXPECT_EQ(back->soundLibrary().name(0), "bell");
    EXPECT_EQ(back->soundLibrary().name(1), "drum");
    FrameSoundEntry e;
    ASSERT_TRUE(back->soundEntry(0, 0, e));
    EXPECT_EQ(e.words[0], 1u);
    ASSERT_TRUE(back->soundEntry(2, 0, e));
    EXPECT_EQ(e.words[0], 0x00010000u);
    ASSERT_TRUE(back->soundEntry(2, 1, e));
    EXPECT_EQ(e.words[0], 0x00020007u);
    EXPECT_FALSE(back->soundEntry(1, 0, e));
    EXPECT_EQ(back->soundLibrary().sound(1)->rate(), 11025);
    EXPECT_EQ(saved(*back), saved(*loaded(saved(*back)))); // stable from then on

    film->setFrameSelected(0, true);
    auto selection = loaded(saved(*film, FileType::Film, true));
    ASSERT_EQ(selection->soundLibrary().count(), 1);
    EXPECT_EQ(selection->soundLibrary().name(0), "drum");
    ASSERT_TRUE(selection->soundEntry(0, 0, e));
    EXPECT_EQ(e.words[0], 0u);

    // The sound library of a film holds the sounds in use.
    SoundLibrary exported;
    exported.readChunkSet(saved(*film, FileType::SoundLibrary));
    EXPECT_EQ(exported.count(), 2);
}

// A film whose sound chunk holds one sound twice: the entries naming the second copy now name the
// one the library keeps.
TEST(Film, RepeatedSoundsInAFileAreHeldOnce)
{
    auto film = newFilm(8, 8, 8);
    film->insertFrame(1, false);
    film->soundLibrary().add(toneOf(8000, 9), "a");
    film->setSoundEntry(1, 0, entryFor(0));
    Bytes file = saved(*film);

    // Rewrite the sound chunk with the same sound listed twice, the frame naming the second.
    SoundLibrary twice;
    Sound* tone = toneOf(8000, 9);
    twice.add(tone, "a");
    twice.add(tone, "b");
    Bytes set;
    ByteWriter sw(&set);
    twice.writeChunkSet(&sw, false);
    const ChunkSequence chunks(file);
    const Chunk* soun = chunks.find(makeTag("SOUN"));
    const Chunk* dir = chunks.find(makeTag("DIR1"));
    Bytes rewritten(file.begin(), file.begin() + ptrdiff_t(dir->offset));
    ByteWriter w(&rewritten);
    Bytes records(dir->payload.begin(), dir->payload.end());
    storeLE32(&records[8 + 4], 1);
    writeChunk(w, makeTag("DIR1"), records);
    writeChunk(w, makeTag("SOUN"), set);
    rewritten.insert(rewritten.end(), file.begin() + ptrdiff_t(soun->offset + 8 + soun->payload.size()), file.end());

    auto back = loaded(rewritten);
    EXPECT_EQ(back->soundLibrary().count(), 1);
    FrameSoundEntry e;
    ASSERT_TRUE(back->soundEntry(1, 0, e));
    EXPECT_EQ(e.words[0] & 0xFFFF, 0u);

    // DIR1 records that do not match the frames are refused.
    Bytes bad = file;
    storeLE32(&bad[dir->offset + 8 + 8], 28);
    EXPECT_THROW(loaded(bad), ArchiveError);
}

TEST(Film, PaletteRemapKeepsLogicalNumbers)
{
    auto film = newFilm(4, 4, 1);
    Bytes data = saved(*film);
    const ChunkSequence chunks(data);
    const Chunk* pale = chunks.find(makeTag("PALE"));
    const size_t words = pale->offset + 8 + 28;
    // Swap the logical numbers: entry 0 (black) stands for colour 1, entry 1 (white) for 0.
    data[words] = 1;
    data[words + 4] = 0;
    storeLE32(&data[pale->offset + 8], 1);     // ink: logical 1
    storeLE32(&data[pale->offset + 8 + 4], 0); // paper: logical 0
    auto back = loaded(data);
    EXPECT_EQ(back->ink() >> 8, 0u);            // logical 1 is the black entry
    EXPECT_EQ(back->paper() >> 8, 0xFFFFFFu);
    EXPECT_EQ(back->paletteRecord().words, (std::vector<uint32_t>{0x00000001u, 0xFFFFFF00u}));
    EXPECT_EQ(saved(*back), data);
}

TEST(Film, FramesCodedByAnotherMethodAreRefusedAndAFilmOfNoneTakesOurs)
{
    // Frames coded some other way could not be shown: the film is not understood.
    auto film = newFilm(40, 30, 8);
    paintPattern(*film, 0, 3);
    Bytes otherMethod = saved(*film);
    storeLE32(&otherMethod[8 + FilmBlock::Flags], 1);
    try {
        loaded(otherMethod);
        ADD_FAILURE() << "opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.messageId(), IDS_FORMAT_NOT_UNDERSTOOD);
    }

    // With no frames yet, what is drawn is coded by us and must open again as drawn.
    for (uint32_t method : {1u, 3u}) {
        auto empty = loaded(test::emptyFilmFile(40, 30, 8, method));
        paintPattern(*empty, 0, 5);
        const uint64_t drawn = frameSum(*empty, 0);
        auto reopened = loaded(saved(*empty));
        ASSERT_EQ(reopened->frameCount(), 1);
        EXPECT_EQ(frameSum(*reopened, 0), drawn);
    }
}

TEST(Film, DamagedFilmsAreRefusedAndNeverCrash)
{
    auto film = newFilm(40, 30, 8);
    for (int i = 1; i < 4; ++i)
        film->insertFrame(i, false);
    for (int i = 0; i < 4; ++i)
        paintPattern(*film, i, uint32_t(i));
    film->setFade(1, FrameFade{FrameFade::Slide, FrameFade::FromTop, 3}, FrameFade::AllFields);
    const Bytes good = saved(*film);

    // Specific damage: chunk length below 8, a record running past the block, absurd sizes.
    Bytes shortChunk = good;
    storeLE32(&shortChunk[4], 4);
    EXPECT_THROW(loaded(shortChunk), Error);
    Bytes longRecord = good;
    storeLE32(&longRecord[8 + 64], 0x7FFFFFF0);
    EXPECT_THROW(loaded(longRecord), Error);
    Bytes huge = good;
    storeLE32(&huge[8 + 20], 0x7FFFFFFF);
    EXPECT_THROW(loaded(huge), Error);
    Bytes truncated(good.begin(), good.begin() + 200);
    EXPECT_THROW(loaded(truncated), Error);

    std::mt19937 rng(1234);
    int refused = 0, opened = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes bad = good;
        const int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const size_t at = rng() % bad.size();
            switch (rng() % 4) {
            case 0: bad[at] = uint8_t(rng()); break;
            case 1: bad[at] ^= uint8_t(1u << (rng() % 8)); break;
            case 2: bad.resize(at + 1); break;
            default:
                if (at + 4 <= bad.size())
                    storeLE32(&bad[at], uint32_t(rng() % 3 == 0 ? rng() : rng() % 4096));
            }
        }
        try {
            auto f = loaded(bad);
            ++opened;
            for (int i = 0; i < f->frameCount(); ++i) {
                try {
                    f->makeCurrent(i);
                } catch (const Error&) {
                }
            }
            f->save(nullptr, FileType::Film, false);
        } catch (const Error&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(opened, 0);
}

// A snapshot writes the film file that saving would have written at the moment it was taken:
// a new film's blank or drawn-on first frame, a drawn-on current frame that was never stored, a
// reserved gap, sounds and fades.
TEST(FilmSnapshot, WritesWhatSavingWouldHaveWritten)
{
    const auto expectAsSaved = [](Film& film) {
        const FilmSnapshot snapshot = film.snapshot();
        EXPECT_EQ(snapshot.fileBytes(), saved(film));
    };
    auto blank = newFilm(30, 20, 8);
    expectAsSaved(*blank);
    auto drawn = newFilm(30, 20, 8);
    paintPattern(*drawn, 0, 3);
    expectAsSaved(*drawn);

    auto film = newFilm(37, 21, 4);
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            film->insertFrame(i, false);
        paintPattern(*film, i, uint32_t(i + 1));
    }
    film->soundLibrary().add(toneOf(8000, 9), "a");
    film->setSoundEntry(1, 0, entryFor(0));
    film->setFade(2, FrameFade{FrameFade::Wipe, FrameFade::FromRight, 0}, FrameFade::AllFields);
    film->reserveGap(3, 800);
    paintPattern(*film, 2, 40); // current, and not stored yet
    ASSERT_GT(film->gapSize(), 0u);
    expectAsSaved(*film);
    expectAsSaved(*film); // nothing drawn since: the stored frames alone
}

// A snapshot keeps its moment while the film goes on changing, also when it is written on
// another thread meanwhile; the film keeps its own changes.
TEST(FilmSnapshot, KeepsItsMomentWhileTheFilmChanges)
{
    auto film = newFilm(40, 30, 8);
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            film->insertFrame(i, false);
        paintPattern(*film, i, uint32_t(i + 7));
    }
    paintPattern(*film, 1, 99);
    const FilmSnapshot snapshot = film->snapshot();
    const Bytes then = saved(*film);

    auto written = std::async(std::launch::async, [&snapshot] { return snapshot.fileBytes(); });
    for (int round = 0; round < 20; ++round) {
        paintPattern(*film, round % 3, uint32_t(round + 50));
        film->storeCurrentFrame();
        film->insertFrame(1, true);
        film->deleteFrames(0, 0);
    }
    film->setFade(0, FrameFade{FrameFade::Slide, FrameFade::FromTop, 3}, FrameFade::AllFields);
    EXPECT_EQ(written.get(), then);
    EXPECT_EQ(snapshot.fileBytes(), then);

    std::vector<uint64_t> now;
    for (int i = 0; i < film->frameCount(); ++i)
        now.push_back(frameSum(*film, i));
    auto back = loaded(saved(*film));
    ASSERT_EQ(back->frameCount(), film->frameCount());
    for (int i = 0; i < back->frameCount(); ++i)
        EXPECT_EQ(frameSum(*back, i), now[size_t(i)]) << "frame " << i;
    EXPECT_EQ(back->fade(0), (FrameFade{FrameFade::Slide, FrameFade::FromTop, 3}));
    EXPECT_NE(saved(*film), then);
}
