// Stamp files both ways, the folder's stamps, the stamps' own transforms and the stamp mode.

#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "base/Chunks.h"
#include "base/CommandIds.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "gfx/Sprite.h"
#include "base/Settings.h"
#include "stamps/StampFolder.h"
#include "stamps/StampPickerModel.h"
#include "stamps/StampSet.h"

namespace celvane {
namespace {

// A small 8-bit picture with a pattern from `seed`.
Sprite picture(int w, int h, int seed)
{
    Sprite s;
    s.create(w, h, 0, 0, 8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.setPixelAt(x, y, uint32_t((x * 3 + y * 5 + seed) & 0xFF));
    return s;
}

Bytes asChunk(const Sprite& s)
{
    Bytes data;
    ByteWriter out(&data);
    s.write(&out, SpriteWriteKind::FilmChunk, true);
    return data;
}

Bytes asBitmapFile(const Sprite& s)
{
    Bytes data;
    ByteWriter out(&data);
    s.write(&out, SpriteWriteKind::Bitmap, true);
    return data;
}

Bytes saved(StampSet& set, bool selectionOnly = false)
{
    Bytes data;
    ByteWriter out(&data);
    const size_t written = set.save(&out, selectionOnly);
    EXPECT_EQ(written, data.size());
    EXPECT_EQ(set.save(nullptr, selectionOnly), data.size());
    return data;
}

bool samePixels(const Sprite& a, const Sprite& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.colourWordOf(a.pixelAt(x, y)) != b.colourWordOf(b.pixelAt(x, y)))
                return false;
    return true;
}

// One stamp of every kind we read: a plain bitmap, one with a transparent colour (masked), one
// with a solid transparent colour, one with a mask, and a film of two frames.
StampSet everyKind()
{
    StampSet set;
    set.add(FileType::Bitmap, asBitmapFile(picture(5, 3, 1)));
    Sprite keyed = picture(4, 4, 2);
    keyed.setTransparentColour(keyed.colourWordOf(7), true);
    set.add(FileType::StampFile, asChunk(keyed));
    Sprite solid = picture(3, 2, 3);
    solid.setTransparentColour(solid.colourWordOf(9), false);
    set.add(FileType::StampFile, asChunk(solid));
    Sprite masked = picture(6, 2, 4);
    masked.ensureMask().setPixelAt(2, 1, 1);
    set.add(FileType::StampFile, asChunk(masked));
    GraphicList film;
    film.loadNew(FileType::Film, ImageInfo::forFilm(8, 6, 8));
    film.film()->insertFrame(0, false);
    film.film()->workingImage(1)->setPixelAt(3, 3, 42);
    film.film()->markCurrentModified();
    Bytes filmFile;
    ByteWriter out(&filmFile);
    film.save(&out, FileType::Film, false);
    set.add(FileType::Film, filmFile);
    return set;
}

TEST(StampFile, EveryKindRoundTripsWithItsNamesTransparencyAndMask)
{
    test::RecordingSink sink;
    StampSet set = everyKind();
    ASSERT_EQ(set.count(), 6);
    const char* names[] = {"Sun", "", "Dog with a hat", "Tree", "Walk", "Walk"};
    for (int n = 0; n < 4; ++n)
        set.rename(n, names[n]);
    set.rename(4, "Walk");
    const Bytes file = saved(set);
    // The names first, then one chunk per graphic in order.
    const ChunkSequence chunks(file);
    ASSERT_EQ(chunks.chunks().size(), 6u);
    const char* tags[] = {"NAM1", "69C", "101", "101", "102", "C2A"};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(tagText(chunks.chunks()[i].tag), tags[i]) << i;
    EXPECT_EQ(chunks.chunks()[0].payload.size() % 4, 0u);

    StampSet back;
    back.add(FileType::StampFile, file);
    ASSERT_EQ(back.count(), 6);
    EXPECT_EQ(back.name(0), "Sun");
    EXPECT_EQ(back.name(1), "");
    EXPECT_EQ(back.name(2), "Dog with a hat");
    EXPECT_EQ(back.name(3), "Tree");
    EXPECT_EQ(back.name(4), "Walk1");
    EXPECT_EQ(back.name(5), "Walk2");
    for (int n = 0; n < 5; ++n)
        EXPECT_TRUE(samePixels(*set.image(n), *back.image(n))) << n;
    EXPECT_TRUE(back.image(1)->hasTransparentColour());
    EXPECT_EQ(back.image(1)->transparentColour(), set.image(1)->transparentColour());
    EXPECT_FALSE(back.image(1)->solid());
    EXPECT_TRUE(back.image(2)->solid());
    ASSERT_NE(back.image(3)->mask(), nullptr);
    EXPECT_EQ(back.image(3)->mask()->pixelAt(2, 1), 1u);
    EXPECT_EQ(back.image(3)->mask()->pixelAt(1, 1), 0u);
    EXPECT_EQ(back.image(5)->pixelAt(3, 3), 42u);
    // Written again, the file is the same to the byte.
    EXPECT_EQ(saved(back), file);
    EXPECT_TRUE(sink.shown.empty());
}

TEST(StampFile, DrawfilesAndMetafilesKeepTheirBytesAndNames)
{
    test::ensureApplication(); // Drawfile text needs fonts
    const auto draw = test::corpusDir("draw") / "ro-draw-test" / "Box.aff";
    const auto wmf = test::corpusDir("wmf") / "libwmf" / "2doorvan.wmf";
    const auto emf = test::corpusDir("emf") / "libuemf" / "test_libuemf_ref.emf";
    CELVANE_REQUIRE_CORPUS(test::corpusDir("draw"));
    test::RecordingSink sink;
    StampSet set;
    set.add(FileType::Drawfile, readFile(draw.string()));
    set.add(FileType::Metafile, readFile(wmf.string()));
    set.add(FileType::EnhancedMetafile, readFile(emf.string()));
    ASSERT_EQ(set.count(), 3);
    set.rename(0, "Box");
    set.rename(2, "Pictures");
    const Bytes file = saved(set);
    const ChunkSequence chunks(file);
    ASSERT_EQ(chunks.chunks().size(), 4u);
    // A metafile with a placeable header is kept as an enhanced one, so that it keeps its size.
    const char* tags[] = {"NAM1", "AFF", "100", "100"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(tagText(chunks.chunks()[i].tag), tags[i]) << i;
    // The Drawfile as it came, unpadded; the metafiles padded to whole words.
    const Bytes drawfile = readFile(draw.string());
    EXPECT_TRUE(std::equal(drawfile.begin(), drawfile.end(), chunks.chunks()[1].payload.begin(),
                           chunks.chunks()[1].payload.end()));
    EXPECT_EQ(chunks.chunks()[2].payload.size() % 4, 0u);
    StampSet back;
    back.add(FileType::StampFile, file);
    ASSERT_EQ(back.count(), 3);
    EXPECT_EQ(back.name(0), "Box");
    EXPECT_EQ(back.name(2), "Pictures");
    EXPECT_EQ(saved(back), file);
    for (int n = 0; n < 3; ++n)
        EXPECT_NE(back.image(n), nullptr) << n;
    EXPECT_TRUE(sink.shown.empty());
}

TEST(StampFile, EmptySetsAndSelectionsWriteOnlyWhatTheyHold)
{
    StampSet empty;
    EXPECT_TRUE(saved(empty).empty());
    StampSet set = everyKind();
    set.rename(0, "A");
    set.rename(3, "D");
    set.select(0, true);
    set.select(3, true);
    StampSet back;
    back.add(FileType::StampFile, saved(set, true));
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(back.name(0), "A");
    EXPECT_EQ(back.name(1), "D");
    EXPECT_NE(back.image(1)->mask(), nullptr);
}

// A names chunk, anywhere, as bytes.
Bytes namesChunk(const std::string& names)
{
    Bytes data;
    ByteWriter out(&data);
    Bytes payload(names.begin(), names.end());
    while (payload.size() % 4)
        payload.push_back(0);
    writeChunkHeader(out, makeTag("NAM1"), uint32_t(payload.size() + 8));
    out.bytes(payload);
    return data;
}

Bytes joined(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(StampFile, NamesMayComeAnywhereAndAStampMayKeepItsOwn)
{
    const Bytes a = asChunk(picture(2, 2, 1)), b = asChunk(picture(2, 2, 2)), c = asChunk(picture(2, 2, 3));
    StampSet set;
    set.add(FileType::StampFile, joined({a, b, c, namesChunk(std::string("one\0\1three", 10))}));
    ASSERT_EQ(set.count(), 3);
    EXPECT_EQ(set.name(0), "one");
    EXPECT_EQ(set.name(1), ""); // byte 1: its own name (none)
    EXPECT_EQ(set.name(2), "three");
    // Fewer names than stamps: the rest keep their own; the names apply to the stamps added.
    set.add(FileType::StampFile, joined({namesChunk(std::string("four\0", 5)), a, b}));
    ASSERT_EQ(set.count(), 5);
    EXPECT_EQ(set.name(3), "four");
    EXPECT_EQ(set.name(4), "");
    EXPECT_EQ(set.name(0), "one");
}

TEST(StampFile, UnreadableChunksAreLeftOutWithOneWarning)
{
    test::RecordingSink sink;
    const Bytes good = asChunk(picture(2, 2, 1));
    Bytes unknown;
    ByteWriter u(&unknown);
    writeChunkHeader(u, makeTag("FFF\0"), 12);
    u.u32(0);
    Bytes broken = asChunk(picture(3, 3, 2));
    broken[8] = 'X'; // no longer a bitmap file
    Bytes mask = asChunk([] {
        Sprite s = picture(4, 4, 3);
        s.ensureMask();
        return s;
    }());
    // The mask's bitmap cut short.
    mask.resize(mask.size() - 8);
    storeLE32(&mask[4], uint32_t(mask.size()));
    // A bitmap with more after it than the padding to a word: 4 bytes are let by, 5 are not.
    const auto trailed = [](size_t extra) {
        Bytes chunk;
        ByteWriter w(&chunk);
        const Bytes file = asBitmapFile(picture(5, 5, 4));
        writeChunkHeader(w, makeTag("69C\0"), uint32_t(8 + file.size() + extra));
        w.bytes(file);
        w.zeros(extra);
        return chunk;
    };
    StampSet set;
    set.add(FileType::StampFile, joined({good, unknown, broken, mask, trailed(5), trailed(4), good,
                                         namesChunk(std::string("x\0y\0z\0", 6))}));
    EXPECT_EQ(set.count(), 3);
    EXPECT_EQ(set.image(1)->width(), 5);
    EXPECT_EQ(set.name(2), "z");
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], loadString(IDS_STAMPS_OMITTED));
}

TEST(StampFolder, TheDataFileIsFoundSavedAsDefaultAndMissingOnesAreSaid)
{
    test::RecordingSink sink;
    test::TempDir dir;
    StampPickerModel picker;
    EXPECT_FALSE(picker.openFolder(dir.path().string()));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], formatMessage(IDS_STAMPS_NOT_FOUND, {dir.path().string()}));
    EXPECT_FALSE(picker.saveAsDefault());

    // A bitmap called data.bmp serves as the folder's stamps.
    test::writeBytes(dir.file("data.bmp"), asBitmapFile(picture(4, 4, 1)));
    ASSERT_TRUE(picker.openFolder(dir.path().string()));
    EXPECT_EQ(picker.stamps().count(), 1);
    picker.stamps().add(FileType::StampFile, asChunk(picture(3, 3, 2)));
    picker.stamps().rename(1, "Second");
    ASSERT_TRUE(picker.saveAsDefault());
    // data.stp comes before data.bmp.
    StampPickerModel again;
    ASSERT_TRUE(again.openFolder(dir.path().string()));
    EXPECT_EQ(again.stamps().count(), 2);
    EXPECT_EQ(again.stamps().name(1), "Second");
    // A folder that fails keeps what the picker had.
    EXPECT_FALSE(again.openFolder(dir.file("nowhere")));
    EXPECT_EQ(again.folder(), dir.path().string());
    EXPECT_EQ(again.stamps().count(), 2);
}

TEST(StampTransforms, CommandsCombineAndUndoThemselves)
{
    StampPickerModel picker;
    StampSet& stamps = picker.stamps();
    stamps.add(FileType::StampFile, joined({asChunk(picture(2, 2, 1)), asChunk(picture(2, 2, 2))}));
    // No selection: stamp 0 only.
    picker.runImageCommand(ID_STAMP_FLIP_HORIZONTAL);
    ASSERT_TRUE(stamps.transform(0));
    EXPECT_EQ(*stamps.transform(0), (PlotTransform{-1, 1, 0}));
    EXPECT_FALSE(stamps.transform(1));
    picker.runImageCommand(ID_STAMP_FLIP_HORIZONTAL);
    EXPECT_FALSE(stamps.transform(0));
    for (int i = 0; i < 24; ++i)
        picker.runImageCommand(ID_STAMP_ROTATE_LEFT);
    EXPECT_FALSE(stamps.transform(0));
    picker.runImageCommand(ID_STAMP_ROTATE_LEFT);
    EXPECT_EQ(stamps.transform(0)->angle, 345);
    picker.runImageCommand(ID_STAMP_DEFAULT_SIZE);
    EXPECT_EQ(*stamps.transform(0), PlotTransform{});
    picker.runImageCommand(ID_STAMP_BIGGER);
    picker.runImageCommand(ID_STAMP_SMALLER);
    EXPECT_FALSE(stamps.transform(0));
    // The selected stamps, all of them.
    stamps.selectAll(true);
    picker.runImageCommand(ID_STAMP_DOUBLE_SIZE);
    picker.runImageCommand(ID_STAMP_FLIP_VERTICAL);
    EXPECT_EQ(*stamps.transform(0), (PlotTransform{2, -2, 0}));
    EXPECT_EQ(*stamps.transform(1), (PlotTransform{2, -2, 0}));
    // Deleting a stamp takes its transform with it.
    stamps.selectAll(false);
    stamps.select(0, true);
    picker.runImageCommand(ID_STAMP_HALF_SIZE);
    stamps.removeSelected();
    ASSERT_EQ(stamps.count(), 1);
    EXPECT_EQ(*stamps.transform(0), (PlotTransform{2, -2, 0}));
}

TEST(StampMode, UseMaskAndSolidColourExcludeEachOther)
{
    StampPickerModel picker;
    EXPECT_EQ(picker.mode(), StampPickerModel::UseMask);
    EXPECT_EQ(picker.plotFlags(), kPlotMasked);
    picker.toggleSolid();
    EXPECT_EQ(picker.mode(), StampPickerModel::Solid);
    EXPECT_EQ(picker.plotFlags(), kPlotSingleColour);
    picker.toggleSolid();
    EXPECT_EQ(picker.mode(), 0);
    picker.toggleUseMask();
    picker.toggleUseMask();
    EXPECT_EQ(picker.mode(), 0);
    picker.toggleSolid();
    picker.toggleUseMask();
    EXPECT_EQ(picker.mode(), StampPickerModel::UseMask);
}

} // namespace
} // namespace celvane
