#pragma once
// One open film as the program sees it: the document, its title, and the commands that act on
// the document as a whole (save, save as, close), with the question before changes are lost.

#include <memory>
#include <string>

#include "base/Command.h"
#include "film/CelvaneDoc.h"

namespace celvane {

class CelvaneApp;

class DocumentCommands : public CommandTarget {
public:
    DocumentCommands(CelvaneApp& app, std::unique_ptr<CCelvaneDoc> doc, std::string untitledName);

    CCelvaneDoc& document() const { return *doc_; }
    // The file name, or the untitled name until the film is saved.
    std::string title() const;

    // Save under the current name (asking for one when there is none); false when not saved.
    bool save();
    bool saveAs();
    // Asks whether to save a modified film; false when the user cancelled.
    bool saveModified();
    // The Export dialog, then the chosen writer with a progress bar that can cancel.
    void exportFilm();
    // The File Summary of the film as it would be saved now.
    void showSummary();

private:
    bool saveTo(const std::string& path);

    CelvaneApp& app_;
    std::unique_ptr<CCelvaneDoc> doc_;
    std::string untitledName_;
};

} // namespace celvane
