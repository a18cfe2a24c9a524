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

// What the command line asks for.
struct PrintRequest {
    std::vector<std::string> paths;
    std::optional<int> scale, framesPerPage;
    std::optional<std::string> selection;
    bool flickBook = false, cropMarks = false, landscape = false;
    QPageSize paper{QPageSize::A4};
};

PrintRequest parsePrintRequest(const std::vector<std::string>& args)
{
    PrintRequest r;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--scale" && hasValue)
            r.scale = toInt(args[++i], "--scale");
        else if (a == "--frames-per-page" && hasValue)
            r.framesPerPage = toInt(args[++i], "--frames-per-page");
        else if (a == "--paper" && hasValue)
            r.paper = paperNamed(args[++i]);
        else if (a == "--selection" && hasValue)
            r.selection = args[++i];
        else if (a == "--flick-book")
            r.flickBook = true;
        else if (a == "--crop-marks")
            r.cropMarks = true;
        else if (a == "--landscape")
            r.landscape = true;
        else if (a.rfind("--", 0) != 0)
            r.paths.push_back(a);
        else
            throw UsageError("unexpected argument: " + a);
    }
    if (r.paths.size() != 2)
        throw UsageError("print needs FILM OUT.pdf");
    if (r.scale && r.framesPerPage)
        throw UsageError("give either --scale or --frames-per-page");
    if (r.scale && (*r.scale < PrintLayout::kMinScalePercent || *r.scale > PrintLayout::kMaxScalePercent))
        throw UsageError("--scale is 10 to 1600");
    if (r.framesPerPage && (*r.framesPerPage < 1 || *r.framesPerPage > PrintLayout::kMaxFramesPerPage))
        throw UsageError("--frames-per-page is 1 to 999");
    return r;
}

// The film laid out on the writer's paper as asked; at least one page.
PrintLayout layoutAsAsked(const Film& film, const QPdfWriter& pdf, const PrintRequest& r)
{
    PrintLayout layout = PagePrinter::layoutFor(film, pdf.pageLayout());
    if (r.flickBook)
        layout.setFlickBook(true);
    if (r.cropMarks)
        layout.setCropMarks(true);
    if (r.scale)
        layout.changeScalePercent(*r.scale);
    else if (r.framesPerPage)
        layout.layOut(*r.framesPerPage);
    if (layout.pageCount() < 1)
        throw NotSupportedError("no frame fits on the paper");
    return layout;
}

} // namespace

int print(const std::vector<std::string>& args)
{
    const PrintRequest r = parsePrintRequest(args);
    CCelvaneDoc doc(Settings::instance());
    doc.open(r.paths[0]);
    Film& film = filmOf(doc);
    if (r.selection)
        markRange(film, *r.selection);

    // Written beside the target and renamed over it, so a failed print leaves no half a file.
    QSaveFile file(QString::fromStdString(r.paths[1]));
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(r.paths[1] + ": " + file.errorString().toStdString());
    QPdfWriter pdf(&file);
    pdf.setCreator("Celvane");
    pdf.setTitle(QString::fromStdString(film.name()));
    pdf.setPageLayout(QPageLayout(r.paper, r.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));

    const PrintLayout layout = layoutAsAsked(film, pdf, r);
    PagePrinter(film, layout).print(pdf, 1, layout.pageCount(), [](int done, int total) {
        if (total >= kProgressPages) {
            std::fprintf(stderr, "\rPrinting page %d of %d", done, total);
            if (done == total)
                std::fputc('\n', stderr);
        }
        return true;
    });
    if (!file.commit())
        throw FileError(r.paths[1] + ": " + file.errorString().toStdString());
    return 0;
}

} // namespace celvane::cli
