#include <gtest/gtest.h>

#include <QImage>

#include "../film/FilmTestSupport.h"
#include "TestSupport.h"
#include "export/Exporter.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "gfx/BitmapFile.h"
#include "platform/ImageFiles.h"
#include "sound/SoundFiles.h"
#include "sound/SoundPool.h"

using namespace celvane;

namespace {
void threeFrames(CCelvaneDoc& doc, int bits = 8)
{
    doc.newDocument(ImageInfo::forFilm(12, 7, bits));
    Film& film = *doc.film();
    film.insertFrame(1, false);
    film.insertFrame(2, false);
    for (int i = 0; i < 3; ++i)
        test::paintPattern(film, i, uint32_t(i + 2));
}

int filesIn(const test::TempDir& dir) { return int(std::distance(std::filesystem::directory_iterator(dir.path()), {})); }
} // namespace

TEST(Exporter, KindsByExtension)
{
    EXPECT_EQ(exportKindForPath("a/walk.GIF"), ExportKind::Gif);
    EXPECT_EQ(exportKindForPath("walk.fli"), ExportKind::Flic);
    EXPECT_EQ(exportKindForPath("walk.flc"), ExportKind::Flic);
    EXPECT_EQ(exportKindForPath("walk.mp4"), ExportKind::Mp4);
    EXPECT_EQ(exportKindForPath("walk.doc"), std::nullopt);
    EXPECT_EQ(exportKinds().size(), 9u);
}

TEST(Exporter, BitmapSeriesIsNumberedAndReadsBack)
{
    test::TempDir dir;
    CCelvaneDoc doc;
    threeFrames(doc);
    EXPECT_EQ(exportFilm(doc, dir.file("frames"), ExportKind::Bitmaps, false), dir.file("frames.bmp"));
    for (const char* name : {"frames.bmp", "frames1.bmp", "frames2.bmp"})
        ASSERT_TRUE(std::filesystem::exists(dir.file(name))) << name;
    const Bytes file = readFile(dir.file("frames2.bmp"));
    const BitmapFileParts parts = splitBitmapFile(file);
    Sprite back;
    back.createFromDib(parts.headerAndTable, parts.pixels);
    const Sprite* frame = doc.film()->workingImage(2);
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(std::memcmp(back.rowAddress(y), frame->rowAddress(y), 12), 0);
    // Other programs read them too: Qt's reader sees the frame's colours.
    const QImage qt(QString::fromStdString(dir.file("frames2.bmp")));
    ASSERT_FALSE(qt.isNull());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 12; ++x) {
            const uint32_t word = frame->colourWordOf(frame->readPixel(x, y));
            EXPECT_EQ(qt.pixel(x, y) & 0xFFFFFF, qRgb(int((word >> 8) & 0xFF), int((word >> 16) & 0xFF), int(word >> 24)) & 0xFFFFFF);
        }

    // Only the marked frames, and a cancel takes back what was written.
    test::TempDir marked;
    doc.film()->setFrameSelected(1, true);
    exportFilm(doc, marked.file("one.bmp"), ExportKind::Bitmaps, true);
    EXPECT_EQ(filesIn(marked), 1);
    test::TempDir cancelled;
    EXPECT_THROW(exportFilm(doc, cancelled.file("x.bmp"), ExportKind::Bitmaps, false,
                            [](int done, int) { return done < 2; }),
                 UserCancel);
    EXPECT_EQ(filesIn(cancelled), 0);
}

TEST(Exporter, PngPalettesSoundsAndFilms)
{
    test::TempDir dir;
    CCelvaneDoc doc;
    threeFrames(doc, 4);
    exportFilm(doc, dir.file("pic.png"), ExportKind::Pngs, false);
    EXPECT_TRUE(std::filesystem::exists(dir.file("pic2.png")));
    // A PNG reads back as a bitmap of the frame's colours.
    const Bytes bmp = imageFileAsBitmap(readFile(dir.file("pic1.png")));
    const BitmapFileParts parts = splitBitmapFile(bmp);
    Sprite back;
    back.createFromDib(parts.headerAndTable, parts.pixels);
    const Sprite* frame = doc.film()->workingImage(1);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(back.colourWordOf(back.readPixel(x, y)) >> 8, frame->colourWordOf(frame->readPixel(x, y)) >> 8);
    EXPECT_THROW(imageFileAsBitmap(Bytes{1, 2, 3}), ArchiveError);

    exportFilm(doc, dir.file("colours"), ExportKind::Palette, false);
    EXPECT_EQ(readFile(dir.file("colours.pal")).size(), 16u * 4 + 24);
    // The film's sounds as a library; with none there is nothing to write, and no empty file is
    // left to fail when it is opened.
    try {
        exportFilm(doc, dir.file("quiet.slb"), ExportKind::SoundLibrary, false);
        ADD_FAILURE() << "a film without sounds was written as a sound library";
    } catch (const NotSupportedError& e) {
        EXPECT_EQ(e.userMessage(), "There are no sounds to save.");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("quiet.slb")));
    auto beep = Sound::create(Sound::Pcm8Mono);
    beep->setData(Sound::Pcm8Mono, 11025, Bytes(100, 200), 100);
    doc.film()->addFrameSound(1, SoundPool::shared().add(std::move(beep)), "Beep");
    exportFilm(doc, dir.file("sounds.slb"), ExportKind::SoundLibrary, false);
    SoundLibrary sounds;
    loadSoundFile(sounds, dir.file("sounds.slb"));
    ASSERT_EQ(sounds.count(), 1);
    EXPECT_EQ(sounds.name(0), "Beep");

    exportFilm(doc, dir.file("copy.qfm"), ExportKind::Film, false);
    CCelvaneDoc copy;
    copy.open(dir.file("copy.qfm"));
    EXPECT_EQ(copy.film()->frameCount(), 3);
}
