// celvane-tool print: a film as a contact sheet or flick book in a PDF file, for printing a whole
// class's films from a script.

#include <QPdfWriter>
#include <QSaveFile>
#include <cstdio>
#include <memory>
#include <optional>

#include "base/Errors.h"
#include "base/Settings.h"
#include "cli/Commands.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "print/PagePrinter.h"

namespace celvane::cli {

namespace {

// Jobs of more pages than this say how far they have got.
constexpr int kProgressPages = 5;

QPageSize paperNamed(const std::string& name)
{
    if (name == "A4")
        return QPageSize(QPageSize::A4);
    if (name == "A3")
        return QPageSize(QPageSize::A3);
    if (name == "Letter")
        return QPageSize(QPageSize::Letter);
    throw UsageError("--paper is A4, Letter or A3, not " + name);
}

} // namespace

int print(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    std::optional<int> scale, framesPerPage;
    std::optional<std::string> selection;
    bool flickBook = false, cropMarks = false, landscape = false;
    QPageSize paper(QPageSize::A4);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--scale" && hasValue)
            scale = toInt(args[++i], "--scale");
        else if (a == "--frames-per-page" && hasValue)
            framesPerPage = toInt(args[++i], "--frames-per-page");
        else if (a == "--paper" && hasValue)
            paper = paperNamed(args[++i]);
        else if (a == "--selection" && hasValue)
            selection = args[++i];
        else if (a == "--flick-book")
            flickBook = true;
        else if (a == "--crop-marks")
            cropMarks = true;
        else if (a == "--landscape")
            landscape = true;
        else if (a.rfind("--", 0) != 0)
            paths.push_back(a);
        else
            throw UsageError("unexpected argument: " + a);
    }
    if (paths.size() != 2)
        throw UsageError("print needs FILM OUT.pdf");
    if (scale && framesPerPage)
        throw UsageError("give either --scale or --frames-per-page");
    if (scale && (*scale < PrintLayout::kMinScalePercent || *scale > PrintLayout::kMaxScalePercent))
        throw UsageError("--scale is 10 to 1600");
    if (framesPerPage && (*framesPerPage < 1 || *framesPerPage > PrintLayout::kMaxFramesPerPage))
        throw UsageError("--frames-per-page is 1 to 999");

    CCelvaneDoc doc(Settings::instance());
    doc.open(paths[0]);
    Film& film = filmOf(doc);
    if (selection)
        markRange(film, *selection);

    // Written beside the target and renamed over it, so a failed print leaves no half a file.
    QSaveFile file(QString::fromStdString(paths[1]));
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(paths[1] + ": " + file.errorString().toStdString());
    QPdfWriter pdf(&file);
    pdf.setCreator("Celvane");
    pdf.setTitle(QString::fromStdString(film.name()));
    pdf.setPageLayout(QPageLayout(paper, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));

    PrintLayout layout = PagePrinter::layoutFor(film, pdf.pageLayout());
    if (flickBook)
        layout.setFlickBook(true);
    if (cropMarks)
        layout.setCropMarks(true);
    if (scale)
        layout.changeScalePercent(*scale);
    else if (framesPerPage)
        layout.layOut(*framesPerPage);
    if (layout.pageCount() < 1)
        throw NotSupportedError("no frame fits on the paper");

    PagePrinter(film, layout).print(pdf, 1, layout.pageCount(), [](int done, int total) {
        if (total >= kProgressPages) {
            std::fprintf(stderr, "\rPrinting page %d of %d", done, total);
            if (done == total)
                std::fputc('\n', stderr);
        }
        return true;
    });
    if (!file.commit())
        throw FileError(paths[1] + ": " + file.errorString().toStdString());
    return 0;
}

} // namespace celvane::cli
