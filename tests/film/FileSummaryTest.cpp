#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cmath>
#include <filesystem>

#include "FilmTestSupport.h"
#include "QtTestSupport.h"
#include "app/FileSummaryDialog.h"
#include "base/ByteIO.h"
#include "base/CommandIds.h"
#include "film/FileSummary.h"
#include "film/FileType.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {
uint32_t wordAt(const Bytes& data, size_t at)
{
    return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 | uint32_t(data[at + 3]) << 24;
}
} // namespace

TEST(FileSummary, RoundingOfSizeAndPacking)
{
    EXPECT_EQ(FileSummary::percent(153600, 320 * 240 * 10), 20);
    EXPECT_EQ(FileSummary::percent(153700, 320 * 240 * 10), 21);
    EXPECT_EQ(FileSummary::percent(768000, 768000), 100);
    EXPECT_EQ(FileSummary::percent(5, 0), 0);
    EXPECT_EQ(FileSummary::kilobytes(1025), 2);
    EXPECT_EQ(FileSummary::kilobytes(1024), 1);
    EXPECT_EQ(FileSummary::coloursOf(2), "-");
}

TEST(FileSummary, EveryDepthAgainstTheSavedFile)
{
    const std::pair<int, const char*> depths[] = {{1, "2"}, {4, "16"}, {8, "256"}, {16, "Thousands"}, {32, "Millions"}};
    for (const auto& [bits, colours] : depths) {
        SCOPED_TRACE(bits);
        Film film;
        const ImageInfo info = ImageInfo::forFilm(40, 30, bits);
        film.load(0, &info, nullptr, FileType::Film);
        for (int f = 0; f < 4; ++f) {
            if (f > 0)
                film.insertFrame(f, false);
            film.makeCurrent(f);
            test::paintPattern(film, f, uint32_t(f * 5 + 1));
        }
        const FileSummary s = FileSummary::of(film);
        EXPECT_EQ(s.width, 40);
        EXPECT_EQ(s.height, 30);
        EXPECT_EQ(s.colours, colours);
        EXPECT_EQ(s.frames, 4);
        EXPECT_TRUE(s.compressed);

        // The film as written: the whole file, and the frames in its film block (the block's
        // total size less the header up to the first frame and the end word).
        Bytes data;
        ByteWriter w(&data);
        film.save(&w, FileType::Film, false);
        EXPECT_EQ(s.fileSizeK, int64_t(std::ceil(double(data.size()) / 1024)));
        const Bytes block(data.begin() + 8, data.end());
        const double frames = double(wordAt(block, 0)) - double(wordAt(block, 16)) - 4;
        const double raw = 4.0 * 40 * 30 * bits / 8;
        EXPECT_EQ(s.compressedPercent, int(frames / raw * 100 + 0.99));
    }
}

TEST(FileSummaryScenario, TheFileMenuShowsTheFilmAsItWouldBeSaved)
{
    test::StartedProgram p({.filmWidth = 64, .filmHeight = 48});
    p.frame().runCommand(ID_FRAME_NEW);
    const std::string path = p.dir.file("two.qfm");
    p.chooser.paths.push_back(path);
    p.frame().runCommand(ID_FILE_SAVE);
    ASSERT_TRUE(std::filesystem::exists(path));
    std::map<std::string, std::string> shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FileSummaryDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle().toStdString(), "File Summary");
        for (QLabel* l : dialog->findChildren<QLabel*>())
            if (!l->objectName().isEmpty())
                shown[l->objectName().toStdString()] = l->text().toStdString();
        dialog->reject();
    });
    p.frame().runCommand(ID_FILE_SUMMARY);
    EXPECT_EQ(shown["width"], "64");
    EXPECT_EQ(shown["height"], "48");
    EXPECT_EQ(shown["frames"], "2");
    EXPECT_EQ(shown["fileSize"], std::to_string((std::filesystem::file_size(path) + 1023) / 1024) + " K");
}
