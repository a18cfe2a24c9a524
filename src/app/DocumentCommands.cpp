#include "app/DocumentCommands.h"

#include <QApplication>
#include <filesystem>

#include "app/Autosave.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
#include "app/ExportDialog.h"
#include "app/FileSummaryDialog.h"
#include "app/ProgressWindow.h"
#include "app/StartingFolder.h"
#include "base/CommandIds.h"
#include "app/FileDialogs.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "base/Settings.h"

namespace celvane {

namespace {
// The extension of the kind exported last.
const char* kExportType = "ExportType";
} // namespace

DocumentCommands::DocumentCommands(CelvaneApp& app, std::unique_ptr<CCelvaneDoc> doc, std::string untitledName)
    : app_(app), doc_(std::move(doc)), untitledName_(std::move(untitledName))
{
    addCommands({
        {ID_FILE_SAVE, [this] { save(); }, alwaysEnabled},
        {ID_FILE_SAVE_AS, [this] { saveAs(); }, alwaysEnabled},
        {ID_FILE_EXPORT, [this] { exportFilm(); }, alwaysEnabled},
        {ID_FILE_SUMMARY, [this] { showSummary(); }, [this] { return enabledWhen(doc_->film() != nullptr); }},
    });
}

std::string DocumentCommands::title() const
{
    if (doc_->pathName().empty())
        return untitledName_;
    return std::filesystem::path(doc_->pathName()).filename().string();
}

bool DocumentCommands::saveTo(const std::string& path)
{
    try {
        doc_->save(path);
    } catch (const std::exception& e) {
        Reporter::reportException(e, true, path);
        return false;
    }
    if (app_.autosave())
        app_.autosave()->forget(doc_.get());
    app_.recentFiles().add(path);
    StartingFolder::remember(path);
    if (CMainFrame* frame = app_.mainFrame()) {
        frame->updateRecentFiles();
        frame->updateTitle();
    }
    return true;
}

bool DocumentCommands::save()
{
    const std::string& path = doc_->pathName();
    if (path.empty() || !std::filesystem::exists(path))
        return saveAs();
    // A film read from another kind of file took a film name that another film may already have:
    // that film is replaced only when the user says so, else a name is asked for.
    if (doc_->fileType() != FileType::Film && !FileDialogs::mayReplace(path))
        return saveAs();
    return saveTo(path);
}

bool DocumentCommands::saveAs()
{
    const std::string suggested = doc_->pathName().empty()
        ? (std::filesystem::path(StartingFolder::forFilm("")) / (untitledName_ + ".qfm")).string()
        : doc_->pathName();
    const auto path = FileDialogs::chooser().saveFile("Save As", "Film (*.qfm)", suggested);
    if (!path)
        return false;
    std::string chosen = *path;
    // The file dialog asked about the name typed, not about the one the extension makes.
    if (std::filesystem::path(chosen).extension().empty()) {
        chosen += ".qfm";
        if (!FileDialogs::mayReplace(chosen))
            return false;
    }
    return saveTo(chosen);
}

bool DocumentCommands::saveModified()
{
    if (!doc_->isModified())
        return true;
    const MessageAnswer answer = Reporter::message(formatMessage(IDS_SAVE_CHANGES, {title()}),
                                                   MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::No)
        return true;
    return save();
}

void DocumentCommands::exportFilm()
{
    Film* film = doc_->film();
    if (!film)
        return;
    const std::string stem = doc_->pathName().empty() ? untitledName_ : std::filesystem::path(doc_->pathName()).stem().string();
    const std::string folder = StartingFolder::forFilm(doc_->pathName());
    // The kind chosen last time is offered again.
    std::string extension = Settings::instance().getString("Settings", kExportType, ".gif");
    if (!exportKindForPath(stem + extension))
        extension = ".gif";
    ExportDialog dialog((std::filesystem::path(folder) / (stem + extension)).string(), ExportOffer::forFilm(),
                        film->countSelectedFrames() > 0, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted || dialog.path().empty())
        return;
    const std::string path = dialog.targetPath();
    const ExportKindInfo& kind = exportKinds()[size_t(dialog.kind())];
    Settings::instance().writeString("Settings", kExportType, kind.extension);
    StartingFolder::remember(path);
    ProgressWindow window("Exporting...", QApplication::activeWindow());
    try {
        celvane::exportFilm(*doc_, path, kind.kind, dialog.selectionOnly(), window.progress());
    } catch (const std::exception& e) {
        Reporter::reportException(e, true, path);
    }
}

void DocumentCommands::showSummary()
{
    Film* film = doc_->film();
    if (!film)
        return;
    try {
        FileSummaryDialog(FileSummary::of(*film), QApplication::activeWindow()).exec();
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
}

} // namespace celvane
