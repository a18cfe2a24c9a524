#include "app/CelvaneApp.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <filesystem>

#include "app/Autosave.h"
#include "app/CMainFrame.h"
#include "app/Choices.h"
#include "app/DocumentCommands.h"
#include "app/FileDialogs.h"
#include "app/Help.h"
#include "app/NewFilmDialog.h"
#include "app/ProgressWindow.h"
#include "app/SingleInstance.h"
#include "app/SplashWindow.h"
#include "app/sound/CSoundPicker.h"
#include "app/StartingFolder.h"
#include "base/CommandIds.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "film/CelvaneDoc.h"
#include "film/FileType.h"
#include "film/Film.h"
#include "film/GraphicList.h"
#include "platform/DataFolder.h"
#include "platform/DrawingSurface.h"
#include "base/Settings.h"
#include "view/CCelvaneView.h"

namespace celvane {

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
    } catch (...) {
        Reporter::message(IDS_INTERNAL_ERROR, MessageButtons::Ok, MessageIcon::Error);
    }
    return false;
}

namespace {
const char* kOpenFilters = "Animations (*.qfm *.gif);;Stamps (*.stp);;Sounds (*.slb *.wav);;"
                           "Bitmap files (*.bmp *.dib *.ff9);;Other graphics (*.wmf *.emf *.aff);;All Files (*)";
}

CelvaneApp::CelvaneApp() { addCommands(); }

CelvaneApp::~CelvaneApp()
{
    // Windows go before the documents they show.
    frame_.reset();
}

ScreenInfo CelvaneApp::screen() const
{
    ScreenInfo info;
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        info.width = s->geometry().width();
        info.height = s->geometry().height();
        info.bitsPerPixel = s->depth();
    }
    return info;
}

bool CelvaneApp::start(const QStringList& arguments)
{
    // Every window, film windows included, shows the program's own icon.
    QApplication::setWindowIcon(QIcon(":/icons/celvane.svg"));
    Settings& settings = Settings::instance();
    recent_.load(settings);
    singleDocument_ = settings.getFlag("Settings", "SingleDoc", true);
    OptionsChoices::load(settings, dataFolder()).applyFastGraphics();

    // A second start hands its file to the program already running and ends.
    instance_ = std::make_unique<SingleInstance>();
    const std::string path = arguments.isEmpty() ? std::string() : QFileInfo(arguments.first()).absoluteFilePath().toStdString();
    if (!instance_->becomePrimary(path))
        return false;
    connect(instance_.get(), &SingleInstance::fileRequested, this,
            [this](const QString& file) { handOver(file.toStdString()); });

    // Each time the program has nothing left to do counts as one idle pass.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [] { releaseIdleSurface(); });

    // The splash closes and deletes itself on its timer, or as soon as a box asks something.
    QPointer<SplashWindow> splash;
    if (settings.getFlag("Settings", "Splash", true))
        splash = new SplashWindow();

    frame_ = std::make_unique<CMainFrame>(*this, singleDocument_);
    import_.setWindow(frame_.get());
    Help::answerF1(*frame_);
    if (path.empty() || !openDocument(path))
        newDocument(defaultFilmDescription(screen(), settings));
    frame_->show();
    if (splash)
        splash->raise();
    if (singleDocument_)
        frame_->fitWindowToFilm();
    autosave_ = std::make_unique<Autosave>([this] {
        std::vector<Autosave::OpenFilm> films;
        for (const auto& d : documents_)
            films.push_back({&d->document(), d->title()});
        return films;
    });
    offerRecovered();
    return true;
}

void CelvaneApp::offerRecovered()
{
    for (const Autosave::LeftCopy& left : Autosave::leftBehind()) {
        const QDateTime made = QFileInfo(QString::fromStdString(left.copy.string())).lastModified();
        const QString time = made.date() == QDate::currentDate() ? made.toString("hh:mm")
                                                                  : made.toString("d MMMM yyyy, hh:mm");
        const std::string film = left.title.empty() ? std::string() : left.title + ", ";
        const std::string question = "Celvane closed before this film was saved: " + film + time.toStdString()
            + ". Open the recovered copy?";
        if (Reporter::message(question, MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes) {
            auto doc = std::make_unique<CCelvaneDoc>(Settings::instance());
            try {
                doc->open(left.copy.string());
            } catch (const std::exception& e) {
                Reporter::reportException(e, true, left.copy.string());
                continue;
            }
            // Back under its own file, so that Save brings the file up to date; a film never
            // saved is a new untitled film. Either way it is not saved yet.
            doc->setPathName(left.path);
            doc->setModified(true);
            if (makeRoomForDocument())
                adopt(std::move(doc), left.path.empty() ? nextUntitledName() : "");
        }
        Autosave::remove(left.copy);
    }
}

void CelvaneApp::handOver(const std::string& path)
{
    handedOver_.push_back(path);
    takeHandedOver();
}

void CelvaneApp::takeHandedOver()
{
    // A request that comes while a question about the last one is open waits its turn.
    if (handingOver_ || handedOver_.empty())
        return;
    // So does one that comes while a dialog of the user's is open: the film it works on stays
    // until it is answered.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(kHandOverRetryMs, this, &CelvaneApp::takeHandedOver);
        return;
    }
    handingOver_ = true;
    if (frame_) {
        frame_->raise();
        frame_->activateWindow();
    }
    while (!handedOver_.empty()) {
        const std::string next = handedOver_.front();
        handedOver_.pop_front();
        // A start with nothing named does what an empty command line does: a new film.
        if (next.empty())
            newDocument(defaultFilmDescription(screen(), Settings::instance()));
        else
            openDocument(next);
    }
    handingOver_ = false;
}

CCelvaneDoc* CelvaneApp::adopt(std::unique_ptr<CCelvaneDoc> doc, const std::string& untitledName)
{
    auto commands = std::make_unique<DocumentCommands>(*this, std::move(doc), untitledName);
    CCelvaneDoc* raw = &commands->document();
    documents_.push_back(std::move(commands));
    if (frame_)
        frame_->addView(new CCelvaneView(*raw));
    return raw;
}

std::string CelvaneApp::nextUntitledName() { return "AFilm" + std::to_string(++untitledCount_); }

bool CelvaneApp::makeRoomForDocument()
{
    return !singleDocument_ || closeAllDocuments();
}

CCelvaneDoc* CelvaneApp::newDocument(const ImageInfo& description)
{
    if (!makeRoomForDocument())
        return nullptr;
    auto doc = std::make_unique<CCelvaneDoc>(Settings::instance());
    try {
        doc->newDocument(description);
    } catch (const std::exception& e) {
        Reporter::reportException(e, true);
        return nullptr;
    }
    return adopt(std::move(doc), nextUntitledName());
}

CCelvaneDoc* CelvaneApp::openDocument(const std::string& path)
{
    for (const auto& d : documents_)
        if (d->document().pathName() == path && frame_) {
            // Already open: show it rather than open it twice.
            for (CCelvaneView* view : frame_->views())
                if (&view->document() == &d->document())
                    view->setFocus();
            return &d->document();
        }
    // Sound libraries and wave files open in the sound picker, not as films.
    if (const int type = fileTypeOfPath(path, FileType::Film, Settings::instance());
        frame_ && (type == FileType::SoundLibrary || type == FileType::Wave)) {
        frame_->soundPicker().loadFile(path);
        return nullptr;
    }
    auto doc = std::make_unique<CCelvaneDoc>(Settings::instance());
    try {
        // Pictures of many frames take a while to become a film: show how far it has got.
        ProgressWindow window("Opening " + QString::fromStdString(std::filesystem::path(path).filename().string()),
                              frame_.get());
        doc->open(path, defaultFilmDescription(screen(), Settings::instance()), window.progress());
    } catch (const UserCancel&) {
        return nullptr;
    } catch (const std::exception& e) {
        if (!Reporter::reportException(e, false, path))
            Reporter::message(Reporter::withFile(loadString(IDS_FAILED_TO_OPEN), path), MessageButtons::Ok,
                              MessageIcon::Error);
        recent_.remove(path);
        if (frame_)
            frame_->updateRecentFiles();
        return nullptr;
    }
    if (!makeRoomForDocument())
        return nullptr;
    recent_.add(path);
    CCelvaneDoc* raw = adopt(std::move(doc), "");
    if (frame_)
        frame_->updateRecentFiles();
    return raw;
}

DocumentCommands* CelvaneApp::commandsFor(const CCelvaneDoc* doc) const
{
    for (const auto& d : documents_)
        if (&d->document() == doc)
            return d.get();
    return nullptr;
}

void CelvaneApp::closeDocument(CCelvaneDoc* doc)
{
    if (frame_)
        for (CCelvaneView* view : frame_->views())
            if (&view->document() == doc) {
                // In several-window mode the view sits in a window of its own, which goes too. It
                // leaves the area's list first: the view's last notice asks the frame for its views,
                // and the area must not hand out a window that is half gone.
                if (auto* sub = qobject_cast<QMdiSubWindow*>(view->parentWidget())) {
                    if (QMdiArea* area = sub->mdiArea())
                        area->removeSubWindow(sub);
                    delete sub;
                } else
                    delete view;
            }
    if (autosave_)
        autosave_->forget(doc);
    std::erase_if(documents_, [&](const auto& d) { return &d->document() == doc; });
    if (frame_)
        frame_->updateTitle();
}

bool CelvaneApp::closingView(CCelvaneView* view)
{
    CCelvaneDoc* doc = &view->document();
    // Bars watch documents too; only film windows count here.
    const auto windows = frame_ ? frame_->views() : std::vector<CCelvaneView*>{};
    if (std::count_if(windows.begin(), windows.end(), [&](CCelvaneView* v) { return &v->document() == doc; }) > 1)
        return true;
    DocumentCommands* commands = commandsFor(doc);
    if (commands && !commands->saveModified())
        return false;
    return true;
}

void CelvaneApp::viewClosed(CCelvaneDoc* doc)
{
    // The film goes with its last window, once everything the window owned has let go of it.
    QTimer::singleShot(0, this, [this, doc] {
        const auto left = frame_ ? frame_->views() : std::vector<CCelvaneView*>{};
        if (std::none_of(left.begin(), left.end(), [&](CCelvaneView* v) { return &v->document() == doc; }))
            std::erase_if(documents_, [&](const auto& d) { return &d->document() == doc; });
        if (frame_)
            frame_->updateTitle();
    });
}

bool CelvaneApp::closeAllDocuments()
{
    for (const auto& d : documents_)
        if (!d->saveModified())
            return false;
    while (!documents_.empty())
        closeDocument(&documents_.back()->document());
    return true;
}

void CelvaneApp::promptOpen()
{
    const CCelvaneView* view = frame_ ? frame_->activeView() : nullptr;
    const std::string folder = StartingFolder::forFilm(view ? view->document().pathName() : std::string());
    if (const auto path = FileDialogs::chooser().openFile("Open", kOpenFilters, folder)) {
        StartingFolder::remember(*path);
        openDocument(*path);
    }
}

void CelvaneApp::newFilmFromDialog()
{
    NewFilmDialog dialog(defaultFilmDescription(screen(), Settings::instance()), screen(), frame_.get());
    if (dialog.exec() == QDialog::Accepted)
        newDocument(dialog.choice().description());
}

void CelvaneApp::addCommands()
{
    CommandTarget::addCommands({
        {ID_FILE_NEW, [this] { newDocument(defaultFilmDescription(screen(), Settings::instance())); }, alwaysEnabled},
        {ID_FILE_NEW_FILM, [this] { newFilmFromDialog(); }, alwaysEnabled},
        {ID_FILE_OPEN, [this] { promptOpen(); }, alwaysEnabled},
        {ID_HELP_CONTENTS, [this] { Help::openGuide(frame_.get()); }, alwaysEnabled},
        {ID_APP_ABOUT, [this] { Help::showAbout(frame_.get()); }, alwaysEnabled},
        {ID_APP_EXIT, [this] { frame_->close(); }, [this] { return enabledWhen(frame_ != nullptr); }},
    });
    for (size_t entry = 0; entry < size_t(RecentFiles::kEntries); ++entry)
        CommandTarget::addCommands({{ID_FILE_MRU_FILE1 + int(entry),
                                     // A copy: the list changes as the file opens.
                                     [this, entry] { openDocument(std::string(recent_.paths()[entry])); },
                                     [this, entry] { return enabledWhen(entry < recent_.paths().size()); }}});
}

} // namespace celvane
