#pragma once
// Pictures joining the film of a film window at its current frame: a file chosen in the Import
// dialog, a file dropped on the window, or what the clipboard holds. The last two ask the
// import options first, as the Import dialog offers them, so that either can become the
// background of frames. The options chosen last are offered next time.

#include <string>

#include "base/ByteIO.h"
#include "film/Merge.h"

class QMimeData;
class QWidget;

namespace celvane {

class CCelvaneView;
class GraphicList;

class FilmImport {
public:
    // Dialogs open over `window`.
    explicit FilmImport(QWidget* window = nullptr) : window_(window) {}
    void setWindow(QWidget* window) { window_ = window; }

    // The Import command.
    void chooseAndImport(CCelvaneView& view);
    void importDropped(CCelvaneView& view, const std::string& path);
    // The Paste command: the clipboard is read before the question, so that nothing is asked
    // when nothing can be pasted.
    void paste(CCelvaneView& view);
    // Stamps dragged from the stamp picker onto the window join the film as pasted ones do.
    void dropStamps(CCelvaneView& view, const QMimeData* data);
    // A file brought in with these options, nothing asked.
    void importFile(CCelvaneView& view, const std::string& path, const ImportOptions& options);

private:
    bool askOptions();
    // Pictures of a kind, as the clipboard or a drag gives them.
    void bringIn(CCelvaneView& view, int fileType, const Bytes& data);
    // The pictures join the film as one step of the window's undo history (`stepName`).
    void merge(CCelvaneView& view, GraphicList& pictures, const ImportOptions& options, const char* stepName);

    QWidget* window_;
    ImportOptions options_;
};

} // namespace celvane
