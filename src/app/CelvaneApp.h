#pragma once
// The application: start-up in its fixed order, the open films and their windows, the
// application-wide commands (new, open, recent files, exit).

#include <QApplication>
#include <QObject>
#include <QStringList>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/FilmImport.h"
#include "app/RecentFiles.h"
#include "base/Command.h"
#include "film/DefaultFilm.h"
#include "view/tools/ToolBox.h"

namespace celvane {

class Autosave;
class CCelvaneDoc;
class CCelvaneView;
class CMainFrame;
class DocumentCommands;
class SingleInstance;

// Qt's application with a last guard on its event dispatch: a failure that leaves an event
// handler is reported and the program goes on, where it would otherwise end at once and lose
// every unsaved film.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

class CelvaneApp : public QObject, public CommandTarget {
    Q_OBJECT
public:
    CelvaneApp();
    ~CelvaneApp() override;

    // Start-up; false ends the program. `arguments` are the command line after the program.
    bool start(const QStringList& arguments);

    CMainFrame* mainFrame() const { return frame_.get(); }
    bool singleDocument() const { return singleDocument_; }
    RecentFiles& recentFiles() { return recent_; }
    ScreenInfo screen() const;
    // The drawing tools, one current for every film window.
    ToolBox& toolBox() { return tools_; }

    // A new untitled film made from a description.
    CCelvaneDoc* newDocument(const ImageInfo& description);
    // Opens a file (any kind the program reads); reports failures and returns null.
    CCelvaneDoc* openDocument(const std::string& path);
    // Closes every film, asking to save changes; false when the user cancelled.
    bool closeAllDocuments();
    DocumentCommands* commandsFor(const CCelvaneDoc* doc) const;
    // A film window is about to close: the last window of a film closes the film, after the
    // question about unsaved changes. False when the user kept it open.
    bool closingView(CCelvaneView* view);
    // A film window has gone.
    void viewClosed(CCelvaneDoc* doc);
    // Pictures brought into a film: imported, dropped or pasted.
    FilmImport& filmImport() { return import_; }
    // Copies of unsaved films for recovery after a crash (none before start).
    Autosave* autosave() const { return autosave_.get(); }

    // What a second start of the program asked for: the file it names, or a new film when it
    // names none.
    void handOver(const std::string& path);

private:
    void addCommands();
    void newFilmFromDialog();
    CCelvaneDoc* adopt(std::unique_ptr<CCelvaneDoc> doc, const std::string& untitledName);
    // "AFilm1", "AFilm2", ... in the order untitled films come.
    std::string nextUntitledName();
    void closeDocument(CCelvaneDoc* doc);
    // In single-document mode the open film makes way for the next; false when the user kept it.
    bool makeRoomForDocument();
    void promptOpen();
    void takeHandedOver();
    // Offers the films a run that did not exit cleanly left copies of.
    void offerRecovered();

    FilmImport import_;
    bool singleDocument_ = true;
    int untitledCount_ = 0;
    RecentFiles recent_;
    ToolBox tools_;
    std::unique_ptr<CMainFrame> frame_;
    std::vector<std::unique_ptr<DocumentCommands>> documents_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<Autosave> autosave_;
    static constexpr int kHandOverRetryMs = 250;
    std::deque<std::string> handedOver_;
    bool handingOver_ = false;
};

} // namespace celvane
