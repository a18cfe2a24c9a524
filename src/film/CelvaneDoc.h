#pragma once
// One open film: what it was read from, its graphics, and whether it has unsaved changes.
// Windows and commands work through this; it knows nothing of them.

#include <memory>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "film/GraphicList.h"
#include "film/ImageInfo.h"
#include "film/UpdateHint.h"

namespace celvane {

class Film;
class Settings;

class CCelvaneDoc {
public:
    // The settings that may force a file's kind ("File Types") and give new films their speed;
    // by default none, so that kinds go by name and contents and films play at the standard speed.
    CCelvaneDoc();
    explicit CCelvaneDoc(const Settings& settings) : settings_(settings) {}

    // A new untitled film of one blank frame made from a description.
    void newDocument(const ImageInfo& description);
    // Reads a file of any kind this program can load; on failure the document keeps what it
    // had and the error says why. Pictures of other kinds become a new film, described by the
    // first picture with what it lacks taken from `newFilmDefaults`.
    void open(const std::string& path, const ImageInfo& newFilmDefaults = ImageInfo::forFilm(457, 285, 8),
              const Progress& progress = {});
    // Saves in the type the path's name asks for (the current type when it says nothing).
    void save(const std::string& path);
    // A document read from another kind of file takes a film name, so that saving it never
    // overwrites the original.
    void setPathName(const std::string& path);
    void deleteContents();

    const std::string& pathName() const { return pathName_; }
    int fileType() const { return fileType_; }
    GraphicList* graphics() { return graphics_.get(); }
    Film* film() { return graphics_ ? graphics_->film() : nullptr; }

    bool isModified() const;
    void setModified(bool on) { forcedModified_ = on; }

    // The views of this document, told of every change.
    void addView(DocumentObserver* view);
    void removeView(DocumentObserver* view);
    const std::vector<DocumentObserver*>& views() const { return views_; }
    void updateAllViews(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change = nullptr);

private:
    const Settings& settings_;
    std::unique_ptr<GraphicList> graphics_;
    std::string pathName_;
    int fileType_ = FileType::Film;
    bool forcedModified_ = false;
    std::vector<DocumentObserver*> views_;
};

} // namespace celvane
