#pragma once
// Print, Print Preview and Print Setup. One printer is chosen for the whole program; each film
// remembers how it was last laid out on paper.

#include <QPrinter>
#include <functional>
#include <map>
#include <string>

#include "base/Command.h"

namespace celvane {

class DocumentCommands;

class PrintCommands : public CommandTarget {
public:
    // `active` gives the film the commands act on (null when none is open).
    explicit PrintCommands(std::function<DocumentCommands*()> active);

    QPrinter& printer() { return printer_; }

private:
    // The active film's commands when it has a film to print, else null.
    DocumentCommands* printable() const;
    void print(DocumentCommands& document);
    void preview(DocumentCommands& document);
    void setup();
    // False, after saying so, when the printer cannot tell its paper size.
    bool printerReady();

    std::function<DocumentCommands*()> active_;
    QPrinter printer_{QPrinter::HighResolution};
    // The PDF file last chosen for each film, by the name the film's own PDF would have.
    std::map<std::string, QString> pdfNames_;
};

} // namespace celvane
