#include "app/PrintCommands.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <filesystem>

#include "app/CPrintDialog.h"
#include "app/DocumentCommands.h"
#include "app/ProgressWindow.h"
#include "base/CommandIds.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/Film.h"
#include "print/PagePrinter.h"

namespace celvane {

PrintCommands::PrintCommands(std::function<DocumentCommands*()> active) : active_(std::move(active))
{
    // With no printer set up on the system, printing makes a PDF file.
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        printer_.setOutputFormat(QPrinter::PdfFormat);
    const auto filmOpen = [this] { return enabledWhen(printable() != nullptr); };
    addCommands({
        {ID_FILE_PRINT, [this] { print(*printable()); }, filmOpen},
        {ID_FILE_PRINT_PREVIEW, [this] { preview(*printable()); }, filmOpen},
        {ID_FILE_PRINT_SETUP, [this] { setup(); }, alwaysEnabled},
    });
}

DocumentCommands* PrintCommands::printable() const
{
    DocumentCommands* document = active_();
    return document && document->document().film() ? document : nullptr;
}

bool PrintCommands::printerReady()
{
    if (printer_.pageLayout().isValid() && (printer_.outputFormat() == QPrinter::PdfFormat || printer_.isValid()))
        return true;
    Reporter::message(IDS_PRINTER_PAPER, MessageButtons::Ok, MessageIcon::Error);
    return false;
}

void PrintCommands::print(DocumentCommands& document)
{
    if (!printerReady())
        return;
    Film& film = *document.document().film();
    const std::string filmPdf = std::filesystem::path(document.document().pathName().empty()
                                                         ? document.title()
                                                         : document.document().pathName())
                                    .replace_extension(".pdf")
                                    .string();
    const auto typed = pdfNames_.find(filmPdf);
    CPrintDialog dialog(film, printer_, typed != pdfNames_.end() ? typed->second : QString::fromStdString(filmPdf),
                        QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return;
    pdfNames_[filmPdf] = dialog.pdfPath();
    film.setPrintChoices(dialog.layout());
    if (dialog.previewChosen()) {
        preview(document);
        return;
    }
    dialog.applyToPrinter();
    ProgressWindow window("Printing...", QApplication::activeWindow());
    try {
        PagePrinter(film, dialog.layout()).print(printer_, dialog.fromPage(), dialog.toPage(), window.progress());
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
}

void PrintCommands::preview(DocumentCommands& document)
{
    if (!printerReady())
        return;
    const Film& film = *document.document().film();
    QPrintPreviewDialog dialog(&printer_, QApplication::activeWindow());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&film](QPrinter* printer) {
        const PrintLayout layout = PagePrinter::layoutFor(film, printer->pageLayout());
        try {
            if (layout.pageCount() >= 1)
                PagePrinter(film, layout).print(*printer, 1, layout.pageCount(), {});
        } catch (const std::exception& e) {
            Reporter::reportException(e, true);
        }
    });
    dialog.exec();
}

void PrintCommands::setup()
{
    if (!printerReady())
        return;
    QPageSetupDialog dialog(&printer_, QApplication::activeWindow());
    dialog.exec();
}

} // namespace celvane
