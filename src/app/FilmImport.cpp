#include "app/FilmImport.h"

#include "app/ImportDialog.h"
#include "app/ImportOptionsDialog.h"
#include "app/StartingFolder.h"
#include "base/Reporter.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "film/UpdateHint.h"
#include "platform/FrameClipboard.h"
#include "base/Settings.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"

namespace celvane {

void FilmImport::chooseAndImport(CCelvaneView& view)
{
    ImportDialog dialog(options_, StartingFolder::forFilm(view.document().pathName()), window_);
    const int accepted = dialog.exec();
    options_ = dialog.options();
    if (accepted == QDialog::Accepted && !dialog.path().empty())
        importFile(view, dialog.path(), options_);
}

void FilmImport::importDropped(CCelvaneView& view, const std::string& path)
{
    if (askOptions())
        importFile(view, path, options_);
}

void FilmImport::paste(CCelvaneView& view)
{
    if (const auto contents = FrameClipboard::take())
        bringIn(view, contents->fileType, contents->data);
}

void FilmImport::dropStamps(CCelvaneView& view, const QMimeData* data)
{
    if (const auto contents = FrameClipboard::contentsOf(data)) {
        ActionSounds::play("Dropped");
        bringIn(view, contents->fileType, contents->data);
    }
}

void FilmImport::bringIn(CCelvaneView& view, int fileType, const Bytes& data)
{
    if (!view.film())
        return;
    GraphicList pictures;
    try {
        pictures.load(fileType, data);
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
        return;
    }
    if (askOptions())
        merge(view, pictures, options_, "Paste");
}

void FilmImport::importFile(CCelvaneView& view, const std::string& path, const ImportOptions& options)
{
    CCelvaneDoc& doc = view.document();
    Film* film = doc.film();
    if (!film)
        return;
    try {
        const int type = fileTypeOfPath(path, FileType::Film, Settings::instance());
        const Bytes data = readFile(path);
        StartingFolder::remember(path);
        if (type == FileType::PaletteFile) {
            // A palette file gives the film its colours instead of pictures. It is tried on a
            // palette of the same size first, so that a refused file leaves no step to undo.
            const PaletteRef trial = Palette::make();
            trial->setCount(film->palette()->count());
            if (const PalFileRead read = trial->readPalFile(data); !read.applied()) {
                Reporter::message(read.refusal(), MessageButtons::Ok, MessageIcon::Warning);
                return;
            }
            view.changeFrames("Colours", [&] {
                film->palette()->readPalFile(data);
                film->setModified(true);
                return view.currentFrame();
            });
            return;
        }
        GraphicList pictures;
        pictures.load(type, data);
        merge(view, pictures, options, "Import");
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    }
}

bool FilmImport::askOptions()
{
    const auto chosen = ImportOptionsQuestion::current().ask(options_, window_);
    if (chosen)
        options_ = *chosen;
    return chosen.has_value();
}

void FilmImport::merge(CCelvaneView& view, GraphicList& pictures, const ImportOptions& options, const char* stepName)
{
    GraphicList& graphics = *view.document().graphics();
    view.changeFrames(stepName, [&] {
        return options.asBackground ? mergeBackground(graphics, view.currentFrame(), pictures, ImageInfo{}, options)
                                    : mergeFrames(graphics, view.currentFrame(), pictures, ImageInfo{});
    });
}

} // namespace celvane
