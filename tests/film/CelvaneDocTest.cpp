#include <gtest/gtest.h>

#include "FilmTestSupport.h"
#include "TestSupport.h"
#include "base/Settings.h"
#include "base/StringTable.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/Film.h"

using namespace celvane;

TEST(CelvaneDoc, NewSaveOpenAndModified)
{
    test::TempDir dir;
    CCelvaneDoc doc;
    doc.newDocument(ImageInfo::forFilm(10, 10, 8));
    EXPECT_FALSE(doc.isModified());
    test::paintPattern(*doc.film(), 0, 7);
    EXPECT_TRUE(doc.isModified());
    const uint64_t painted = test::frameSum(*doc.film(), 0);

    const std::string path = dir.file("walk.qfm");
    doc.save(path);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.pathName(), path);

    CCelvaneDoc other;
    other.open(path);
    EXPECT_EQ(other.fileType(), FileType::Film);
    EXPECT_FALSE(other.isModified());
    EXPECT_EQ(test::frameSum(*other.film(), 0), painted);
}

TEST(CelvaneDoc, FailedOpenOrSaveKeepsWhatWasThere)
{
    test::TempDir dir;
    CCelvaneDoc doc;
    doc.newDocument(ImageInfo::forFilm(6, 6, 8));
    const std::string path = dir.file("keep.qfm");
    doc.save(path);
    const Bytes before = readFile(path);

    // A .qfm that is not a film: "Failed to open document.", the document keeps its film.
    const std::string notFilm = dir.file("x.qfm");
    test::writeText(notFilm, "hello, world");
    try {
        doc.open(notFilm);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::File);
        EXPECT_EQ(e.userMessage(), loadString(IDS_FAILED_TO_OPEN));
    }
    ASSERT_NE(doc.film(), nullptr);
    EXPECT_EQ(doc.pathName(), path);

    // A kind nobody can read yet is refused with the load message.
    const std::string wav = dir.file("x.wav");
    test::writeText(wav, "RIFF");
    try {
        doc.open(wav);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.messageId(), IDS_CANNOT_LOAD_TYPE);
    }

    // Saving in a kind a film cannot be saved as writes nothing.
    EXPECT_THROW(doc.save(dir.file("keep.gif")), NotSupportedError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("keep.gif")));
    // A save that cannot be written leaves the old file alone.
    EXPECT_THROW(doc.save(dir.file("missing/keep.qfm")), FileError);
    EXPECT_EQ(readFile(path), before);
}

TEST(CelvaneDoc, StampFileOfAFilmOpensAsThatFilm)
{
    test::TempDir dir;
    CCelvaneDoc doc;
    doc.newDocument(ImageInfo::forFilm(6, 5, 4));
    doc.film()->setName("hop");
    const std::string stp = dir.file("hop.stp");
    doc.save(stp);
    const Bytes data = readFile(stp);
    EXPECT_EQ(std::string(data.begin(), data.begin() + 4), std::string("NAM1"));
    EXPECT_EQ(std::string(data.begin() + 8, data.begin() + 13), std::string("hop1\0", 5));

    CCelvaneDoc back;
    back.open(stp);
    ASSERT_NE(back.film(), nullptr);
    EXPECT_EQ(back.film()->width(), 6);
    // Content read from another kind of file is saved as a film under a new name.
    EXPECT_EQ(back.pathName(), dir.file("hop.qfm"));
    EXPECT_TRUE(back.isModified());
}

TEST(CelvaneDoc, OpeningABitmapMakesAOneFrameFilmOfItsSize)
{
    const auto dir = test::corpusDir("bmp/g");
    CELVANE_REQUIRE_CORPUS(dir);
    test::TempDir tmp;
    for (const char* name : {"pal8.bmp", "pal4.bmp", "rgb32.bmp"}) {
        SCOPED_TRACE(name);
        const std::string copy = tmp.file(name);
        std::filesystem::copy_file(dir / name, copy);
        CCelvaneDoc doc;
        doc.open(copy);
        Film* film = doc.film();
        ASSERT_NE(film, nullptr);
        EXPECT_EQ(film->frameCount(), 1);
        EXPECT_EQ(film->width(), 127);
        EXPECT_EQ(film->height(), 64);
        EXPECT_TRUE(doc.isModified());
        EXPECT_EQ(doc.pathName(), copy.substr(0, copy.size() - 4) + ".qfm");
        // The picture lands in the frame: its corners are not all paper.
        const Sprite* frame = film->workingImage(0);
        const uint32_t paper = frame->pixelValueOf(film->paper());
        int painted = 0;
        for (int y = 0; y < frame->height(); y += 7)
            for (int x = 0; x < frame->width(); x += 7)
                painted += frame->readPixel(x, y) != paper;
        EXPECT_GT(painted, 20);
    }
}

TEST(CelvaneDoc, TheSettingsItIsGivenForceFileKindsAndGiveNewFilmsTheirSpeed)
{
    const auto corpus = test::corpusDir("bmp/g");
    CELVANE_REQUIRE_CORPUS(corpus);
    test::TempDir dir;
    Settings settings(dir.file("celvane.ini"));
    settings.writeInt("Default", "PlaySpeed", 200);
    settings.writeInt("File Types", "Extension_pic", FileType::Bitmap);

    CCelvaneDoc given(settings), plain;
    given.newDocument(ImageInfo::forFilm(10, 10, 8));
    plain.newDocument(ImageInfo::forFilm(10, 10, 8));
    EXPECT_EQ(given.film()->period(), 200);
    EXPECT_EQ(plain.film()->period(), kStandardFilmPeriod);

    // A picture under a name of no known kind opens only where the settings name its kind.
    const std::string picture = dir.file("drawing.pic");
    std::filesystem::copy_file(corpus / "pal8.bmp", picture);
    given.open(picture);
    EXPECT_EQ(given.fileType(), FileType::Bitmap);
    EXPECT_EQ(given.film()->width(), 127);
    EXPECT_EQ(given.film()->period(), 200);
    EXPECT_THROW(plain.open(picture), std::exception);
    EXPECT_EQ(plain.film()->width(), 10) << "a failed open keeps the film";
}
