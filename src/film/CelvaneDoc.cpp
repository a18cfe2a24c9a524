#include "film/CelvaneDoc.h"

#include <cstring>

#include "base/FileContents.h"
#include "base/StringTable.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/Merge.h"
#include "base/Settings.h"
#include "film/DefaultFilm.h"

namespace celvane {

CCelvaneDoc::CCelvaneDoc() : settings_(Settings::defaults()) {}

void CCelvaneDoc::newDocument(const ImageInfo& description)
{
    auto list = std::make_unique<GraphicList>(defaultFilmPeriod(settings_));
    list->loadNew(FileType::Film, description);
    graphics_ = std::move(list);
    pathName_.clear();
    fileType_ = FileType::Film;
    forcedModified_ = false;
}

void CCelvaneDoc::open(const std::string& path, const ImageInfo& newFilmDefaults, const Progress& progress)
{
    const int type = fileTypeOfPath(path, FileType::Film, settings_);
    const FileContents file(path);
    const ByteSpan data = file.bytes();
    if (type == FileType::Film && (data.size() < 4 || std::memcmp(data.data(), "ACEF", 4) != 0)) {
        FileError notFilm("not a film file: " + path, IDS_FAILED_TO_OPEN);
        notFilm.setFile(path, loadString(IDS_NOT_A_FILM));
        throw notFilm;
    }
    const int period = defaultFilmPeriod(settings_);
    auto list = std::make_unique<GraphicList>(period);
    list->load(type, data);
    if (!list->film()) {
        // Anything but a film is brought into a new film of its own.
        auto film = std::make_unique<GraphicList>(period);
        mergeFrames(*film, 0, *list, newFilmDefaults, progress);
        list = std::move(film);
    }
    graphics_ = std::move(list);
    fileType_ = type;
    pathName_ = path;
    forcedModified_ = false;
    if (type != FileType::Film)
        setPathName(path);
}

void CCelvaneDoc::save(const std::string& path)
{
    const int type = fileTypeOfPath(path, fileType_, settings_);
    if (type != FileType::Film && type != FileType::StampFile && type != FileType::SoundLibrary
        && type != FileType::BareFilmBlock)
        throw NotSupportedError("cannot save as type " + std::to_string(type), IDS_CANNOT_EXPORT_FORMAT);
    Bytes data;
    ByteWriter out(&data);
    graphics_->save(&out, type, false);
    writeFileAtomically(path, data);
    graphics_->setModified(false);
    forcedModified_ = false;
    fileType_ = type;
    pathName_ = path;
}

void CCelvaneDoc::setPathName(const std::string& path)
{
    pathName_ = path;
    if (fileType_ == FileType::Film)
        return;
    const size_t slash = pathName_.find_last_of('/');
    const size_t dot = pathName_.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        pathName_.erase(dot);
    pathName_ += ".qfm";
    forcedModified_ = true;
}

void CCelvaneDoc::deleteContents() { graphics_.reset(); }

void CCelvaneDoc::addView(DocumentObserver* view) { views_.push_back(view); }

void CCelvaneDoc::removeView(DocumentObserver* view) { std::erase(views_, view); }

void CCelvaneDoc::updateAllViews(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change)
{
    // A view may close itself while being told; work on a copy of the list.
    const std::vector<DocumentObserver*> views = views_;
    for (DocumentObserver* view : views)
        if (view != sender)
            view->onDocumentUpdate(sender, hint, change);
}

bool CCelvaneDoc::isModified() const
{
    return forcedModified_ || (graphics_ && graphics_->isModified());
}

} // namespace celvane
