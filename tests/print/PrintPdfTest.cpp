// Films printed to PDF by the batch tool and by the program, read back by another program's PDF
// renderer: pages, where each frame lands, its colours, the crosses and the crop marks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSpinBox>
#include <QTimer>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "app/CPrintDialog.h"
#include "base/CommandIds.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/ImageInfo.h"
#include "print/PagePlan.h"
#include "print/PagePrinter.h"
#include "view/CCelvaneView.h"

using namespace celvane;

namespace {

constexpr int kDpi = 72;
constexpr double kTenthsPerDot = 254.0 / kDpi;
const QRgb kColours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(255, 0, 255), qRgb(0, 255, 255)};

// A 32-bit film whose frames are each one solid colour.
std::unique_ptr<Film> colouredFilm(int frames)
{
    auto film = std::make_unique<Film>();
    const ImageInfo info = ImageInfo::forFilm(90, 60, 32);
    film->load(0, &info, nullptr, FileType::Film);
    for (int f = 0; f < frames; ++f) {
        if (f > 0)
            film->insertFrame(f, false);
        Sprite* s = film->workingImage(f);
        const QRgb c = kColours[f % 6];
        const uint32_t pixel = uint32_t(qRed(c)) | uint32_t(qGreen(c)) << 8 | uint32_t(qBlue(c)) << 16;
        for (int y = 0; y < s->height(); ++y)
            std::fill_n(reinterpret_cast<uint32_t*>(s->rowAddress(y)), s->width(), pixel);
        film->markCurrentModified();
    }
    film->storeCurrentFrame();
    return film;
}

void saveFilm(Film& film, const std::string& path)
{
    Bytes data;
    ByteWriter w(&data);
    film.save(&w, FileType::Film, false);
    test::writeBytes(path, data);
}

int pagesOf(const std::string& pdf)
{
    std::string out;
    EXPECT_EQ(test::runCommand("pdfinfo '" + pdf + "'", &out), 0);
    const auto at = out.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(out.substr(at + 6));
}

QImage renderPage(const std::string& pdf, int page, const test::TempDir& dir)
{
    const std::string stem = dir.file("page");
    EXPECT_EQ(test::runCommand("pdftoppm -r " + std::to_string(kDpi) + " -f " + std::to_string(page) + " -l "
                               + std::to_string(page) + " -singlefile '" + pdf + "' '" + stem + "'"),
              0);
    return QImage(QString::fromStdString(stem + ".ppm"));
}

QPoint dotAt(double x, double y) { return QPoint(int(x / kTenthsPerDot), int(y / kTenthsPerDot)); }

// The layout the tool makes for A4 portrait with these choices.
PrintLayout a4Layout(int frames, int perPage, bool flickBook, bool cropMarks)
{
    PrintLayout layout;
    layout.setFrames(90, 60, frames);
    layout.setPaper(2100, 2970, false);
    layout.setFlickBook(flickBook);
    layout.setCropMarks(cropMarks);
    layout.layOut(perPage);
    return layout;
}

bool isDark(QRgb c) { return qGray(c) < 128; }

// The renderer's colour conversion may round a channel by one.
bool sameColour(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}

} // namespace

TEST(PrintPdf, ContactSheetPagesHoldEachFrameInItsCell)
{
    test::TempDir dir;
    auto film = colouredFilm(6);
    saveFilm(*film, dir.file("colours.qfm"));
    const std::string pdf = dir.file("sheet.pdf");
    const auto run = test::runTool("print '" + dir.file("colours.qfm") + "' '" + pdf + "' --frames-per-page 4");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(pagesOf(pdf), 2);
    // Pictures are stored losslessly, never as JPEG.
    EXPECT_EQ(test::readText(pdf).find("DCTDecode"), std::string::npos);

    const PrintLayout layout = a4Layout(6, 4, false, false);
    ASSERT_EQ(layout.framesPerPage(), 4);
    for (int page = 1; page <= 2; ++page) {
        const QImage image = renderPage(pdf, page, dir);
        ASSERT_FALSE(image.isNull());
        EXPECT_NEAR(image.width(), 2100 / kTenthsPerDot, 2);
        for (const PagePicture& picture : planPage(layout, page, {0, 1, 2, 3, 4, 5}).pictures) {
            const Rect r = picture.place;
            const QPoint middle = dotAt((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
            EXPECT_TRUE(sameColour(image.pixel(middle), kColours[picture.frame])) << "frame " << picture.frame;
            // Bordered: dark just outside the picture's left edge, paper a little further out.
            EXPECT_TRUE(isDark(image.pixel(dotAt(r.left, (r.top + r.bottom) / 2.0))));
            EXPECT_EQ(image.pixel(dotAt(r.left - 30, (r.top + r.bottom) / 2.0)), qRgb(255, 255, 255));
        }
    }
}

TEST(PrintPdf, FlickBookCrossesCropMarksAndTheSelection)
{
    test::TempDir dir;
    auto film = colouredFilm(6);
    saveFilm(*film, dir.file("colours.qfm"));
    const std::string pdf = dir.file("book.pdf");
    // Frames 2 to 4 only: three frames, on one page.
    const auto run = test::runTool("print '" + dir.file("colours.qfm") + "' '" + pdf
                                   + "' --frames-per-page 3 --flick-book --crop-marks --selection 2-4");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(pagesOf(pdf), 1);
    const QImage image = renderPage(pdf, 1, dir);
    const PrintLayout layout = a4Layout(3, 3, true, true);
    const PagePlan plan = planPage(layout, 1, {2, 3, 4});
    ASSERT_EQ(plan.pictures.size(), 3u);
    for (const PagePicture& picture : plan.pictures) {
        const Rect r = picture.place;
        EXPECT_TRUE(sameColour(image.pixel(dotAt((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0)), kColours[picture.frame]));
    }
    // Every cross's centre and every crop mark's middle is inked; crop marks leave no border.
    for (const PageLine& line : plan.lines) {
        const QPoint middle = dotAt((line.x1 + line.x2) / 2.0, (line.y1 + line.y2) / 2.0);
        bool inked = false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                inked = inked || isDark(image.pixel(middle + QPoint(dx, dy)));
        EXPECT_TRUE(inked) << line.x1 << "," << line.y1;
    }
    const Rect first = plan.pictures[0].place;
    EXPECT_EQ(image.pixel(dotAt(first.right + 8, (first.top + first.bottom) / 2.0)), qRgb(255, 255, 255));
    // The frames' own numbers, to put the cut pages in order, and the page's number.
    std::string text;
    ASSERT_EQ(test::runCommand("pdftotext -raw '" + pdf + "' -", &text), 0);
    for (const char* number : {"3", "4", "5", "Page 1 of 1"})
        EXPECT_NE(text.find(number), std::string::npos) << number << " in " << text;
    EXPECT_EQ(text.find("2"), std::string::npos) << text;
}

TEST(PrintPdf, ToolRefusesWhatItCannotDo)
{
    test::TempDir dir;
    auto film = colouredFilm(2);
    saveFilm(*film, dir.file("f.qfm"));
    EXPECT_EQ(test::runTool("print '" + dir.file("f.qfm") + "' '" + dir.file("o.pdf") + "' --scale 5").status, 2);
    EXPECT_EQ(test::runTool("print '" + dir.file("f.qfm") + "' '" + dir.file("o.pdf") + "' --paper B5").status, 2);
    EXPECT_EQ(test::runTool("print '" + dir.file("missing.qfm") + "' '" + dir.file("o.pdf") + "'").status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("o.pdf")));
}

TEST(PrintDialog, PageCountAndRangeFollowTheLayout)
{
    test::ensureApplication();
    auto film = colouredFilm(40);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    CPrintDialog dialog(*film, printer, "out.pdf", nullptr);
    auto* perPage = dialog.findChild<QSpinBox*>("framesPerPage");
    auto* to = dialog.findChild<QSpinBox*>("to");
    auto* scale = dialog.findChild<QSpinBox*>("scale");

    // A first print puts every frame on one page.
    EXPECT_EQ(dialog.layout().pageCount(), 1);
    EXPECT_EQ(to->value(), 1);

    // Fewer frames a page: a larger scale, more pages, and "To" follows to the new last page.
    const int before = scale->value(), all = perPage->value();
    perPage->setValue(all - 1);
    EXPECT_GT(scale->value(), before);
    EXPECT_LT(perPage->value(), all);
    const int pages = dialog.layout().pageCount();
    EXPECT_GT(pages, 1);
    EXPECT_EQ(to->maximum(), pages);
    EXPECT_EQ(to->value(), pages);

    // More again: at least that many.
    const int fewer = perPage->value();
    perPage->setValue(fewer + 1);
    EXPECT_GE(dialog.layout().framesPerPage(), fewer + 1);
    EXPECT_EQ(perPage->value(), dialog.layout().framesPerPage());

    // A scale typed in: scale mode.
    scale->setValue(300);
    EXPECT_FALSE(dialog.layout().has(PrintLayout::FramesPerPageMode));
    EXPECT_EQ(to->maximum(), dialog.layout().pageCount());

    // A flick book numbers its frames unless told not to.
    auto* numbers = dialog.findChild<QCheckBox*>("frameNumbers");
    EXPECT_FALSE(numbers->isChecked());
    dialog.findChild<QCheckBox*>("flickBook")->setChecked(true);
    EXPECT_TRUE(numbers->isChecked());
    numbers->setChecked(false);
    EXPECT_FALSE(dialog.layout().has(PrintLayout::FrameNumbers));
}

TEST(PrintDialog, ATeacherPrintsTheMarkedFramesToPdfAndTheChoicesAreKept)
{
    test::StartedProgram program({.filmWidth = 90, .filmHeight = 60});
    for (int i = 0; i < 3; ++i)
        program.frame().runCommand(ID_FRAME_NEW);
    Film& film = *program.view().film();
    ASSERT_EQ(film.frameCount(), 4);
    film.setFrameSelected(1, true);
    film.setFrameSelected(2, true);
    const std::string pdf = program.dir.file("marked.pdf");

    QTimer::singleShot(0, [pdf] {
        auto* dialog = qobject_cast<CPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* printers = dialog->findChild<QComboBox*>("printer");
        printers->setCurrentIndex(printers->findData(QString()));
        dialog->findChild<QLineEdit*>("pdfFile")->setText(QString::fromStdString(pdf));
        dialog->findChild<QSpinBox*>("framesPerPage")->setValue(2);
        dialog->accept();
    });
    program.frame().runCommand(ID_FILE_PRINT);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(pagesOf(pdf), 1); // two marked frames, two a page
    EXPECT_TRUE(program.sink.shown.empty());
    EXPECT_GE(film.printChoices().framesPerPage(), 2);
    EXPECT_LE(film.printChoices().framesPerPage(), 3);

    // Printing again offers the file named last time, and asks before printing over it: No keeps
    // the dialog and the file, Yes prints the pages again.
    const auto printAgain = [&](MessageAnswer answer) -> bool {
        program.sink.shown.clear();
        program.sink.answers = {answer};
        bool keptOpen = false;
        QString offered;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            offered = dialog->findChild<QLineEdit*>("pdfFile")->text();
            dialog->accept();
            keptOpen = dialog->isVisible();
            if (keptOpen)
                dialog->reject();
        });
        program.frame().runCommand(ID_FILE_PRINT);
        EXPECT_EQ(offered.toStdString(), pdf);
        EXPECT_EQ(program.sink.shown.size(), 1u);
        EXPECT_NE(program.sink.shown.empty() ? std::string::npos : program.sink.shown[0].find("marked.pdf already exists"),
                  std::string::npos);
        return keptOpen;
    };
    std::filesystem::resize_file(pdf, 10);
    EXPECT_TRUE(printAgain(MessageAnswer::No));
    EXPECT_EQ(std::filesystem::file_size(pdf), 10u);
    EXPECT_FALSE(printAgain(MessageAnswer::Yes));
    EXPECT_EQ(pagesOf(pdf), 1);
}

TEST(PrintDialog, PreviewShowsThePagesOfTheFilm)
{
    test::StartedProgram program({.filmWidth = 90, .filmHeight = 60});
    for (int i = 0; i < 5; ++i)
        program.frame().runCommand(ID_FRAME_NEW);
    int pages = -1;
    QTimer::singleShot(0, [&pages] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* view = dialog->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(view, nullptr);
        view->updatePreview();
        pages = view->pageCount();
        dialog->reject();
    });
    program.frame().runCommand(ID_FILE_PRINT_PREVIEW);
    EXPECT_GE(pages, 1);
    EXPECT_TRUE(program.sink.shown.empty());
}
