#include "app/CMainFrame.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>

#include "app/Autosave.h"
#include "app/CChoices.h"
#include "app/CColourPalette.h"
#include "app/Choices.h"
#include "app/CStampPicker.h"
#include "app/CTools.h"
#include "app/CelvaneApp.h"
#include "app/CommandTable.h"
#include "app/DocumentCommands.h"
#include "app/ScreenReader.h"
#include "app/WindowPlace.h"
#include "app/picker/CPickerWindow.h"
#include "app/sound/CSoundPicker.h"
#include "app/sound/CSoundTools.h"
#include "base/CommandIds.h"
#include "film/Film.h"
#include "platform/DataFolder.h"
#include "platform/FrameClipboard.h"
#include "base/Settings.h"
#include "playback/CPlayTool.h"
#include "playback/PlaybackController.h"
#include "view/CCelvaneView.h"
#include "view/tools/SnapshotTool.h"
#include "view/tools/StampTool.h"
#include "view/tools/TextTool.h"
#include "view/tools/ToolBox.h"
#include "view/tools/ViewTools.h"
#include "view/PreviewCommands.h"

namespace celvane {

namespace {
const char* kAppTitle = "Celvane";
// Which bars are shown and where they are docked, as the window describes them.
const char* kBarsValue = "Bars";
constexpr int kBarsVersion = 1;
// Commands on the standard tool bar, in order; 0 is a gap.
constexpr int kStandardBar[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT, ID_EDIT_COPY,
                                ID_EDIT_PASTE, 0, ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_FRAME_NEW,
                                ID_FRAME_DUPLICATE, ID_FRAME_DELETE, 0, ID_ZOOM_IN, ID_ZOOM_OUT};

QString menuLabel(const char* text)
{
    // The text may carry "\t" and a key; the action shows the key from its shortcut.
    QString s = QString::fromUtf8(text);
    return s.left(s.indexOf('\t') < 0 ? s.size() : s.indexOf('\t'));
}

// The key shown in the menu, then any further key.
QList<QKeySequence> keysOf(const CommandInfo& c)
{
    QList<QKeySequence> keys;
    const QString text = QString::fromUtf8(c.menuText ? c.menuText : "");
    const int tab = text.indexOf('\t');
    if (tab >= 0)
        keys << QKeySequence(text.mid(tab + 1));
    if (c.shortcut)
        keys << QKeySequence(QString::fromUtf8(c.shortcut));
    return keys;
}

// Qt shows only an action's first key; a command with more shows them all after a tab.
QString withKeys(const QString& label, const QList<QKeySequence>& keys)
{
    if (keys.size() < 2)
        return label;
    QStringList shown;
    for (const QKeySequence& key : keys)
        shown << key.toString(QKeySequence::NativeText);
    return label + '\t' + shown.join(", ");
}

// A command's menu text: its own label, or the one its state gives, with its keys.
QString actionText(const CommandInfo& c, const std::string& label)
{
    return withKeys(label.empty() ? menuLabel(commandText(c)) : QString::fromStdString(label),
                    keysOf(c));
}

QString iconPath(const char* name, bool blackAndWhite)
{
    return QString(":/icons/%1/%2.svg").arg(blackAndWhite ? "bw" : "colour", QString::fromUtf8(name));
}
} // namespace

CMainFrame::CMainFrame(CelvaneApp& app, bool singleDocument)
    : app_(app), singleDocument_(singleDocument),
      print_([this] { return active_ ? app_.commandsFor(&active_->document()) : nullptr; })
{
    setWindowTitle(kAppTitle);
    setAcceptDrops(true);
    if (!singleDocument_) {
        mdi_ = new QMdiArea(this);
        setCentralWidget(mdi_);
        connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
            if (w)
                setActiveView(qobject_cast<CCelvaneView*>(w->widget()));
        });
    }
    buildActions();
    buildMenus();
    buildToolBars();
    buildStatusBar();
    addCommands();
    restoreBars();
    nameToolBarOverflows(*this);
    resize(800, 600);
    updateChain();
    app_.toolBox().broadcast = [this](uint32_t hint) {
        if (hint & Hint::ToolChanged)
            toolChanged();
        tellEveryFilm(hint);
    };
    // Paste follows what the clipboard holds, whoever put it there.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::refreshCommandStates);
}

CMainFrame::~CMainFrame()
{
    // Closing the sound device lets Qt run events; everything they may reach is still whole here.
    sound_.player().closeDevice();
    app_.toolBox().broadcast = nullptr;
    follower_.follow(nullptr, {});
    app_.toolBox().stamp().setPicker(nullptr);
    app_.toolBox().text().setPicker(nullptr);
    app_.toolBox().snapshot().sendToStamps = nullptr;
    // The views go with the window's children, after this part of the frame is gone; closed
    // windows waiting to be deleted are among them.
    for (CCelvaneView* view : findChildren<CCelvaneView*>())
        disconnect(view, nullptr, this, nullptr);
    // The film windows go first, while the bars that follow them can still reach the frame's
    // actions.
    delete takeCentralWidget();
}

void CMainFrame::buildActions()
{
    nameMenuItemsWithoutKeys();
    for (const CommandInfo& c : allCommands()) {
        auto* action = new QAction(actionText(c, {}), this);
        // A button is read out as its text; as Qt would make it, but without the keys after a tab.
        action->setIconText(spokenText(QString::fromUtf8(commandText(c))).remove("..."));
        action->setShortcuts(keysOf(c));
        action->setShortcutContext(Qt::ApplicationShortcut);
        if (c.prompt)
            action->setStatusTip(QString::fromUtf8(c.prompt));
        const int id = c.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        addAction(action); // keys work even for commands that are in no menu
        actions_[id] = action;
    }
    blackAndWhite_ = Settings::instance().getFlag("Settings", "BlackWhite", false);
    loadIcons();
}

void CMainFrame::loadIcons()
{
    for (const CommandInfo& c : allCommands())
        if (c.icon)
            actions_[c.id]->setIcon(QIcon(iconPath(c.icon, blackAndWhite_)));
}

void CMainFrame::settingsChanged(uint32_t flags)
{
    if (flags & Hint::SettingsChanged) {
        const Settings& settings = Settings::instance();
        statusBar()->setVisible(settings.getFlag("Settings", "StatusBar", false));
        const bool blackAndWhite = settings.getFlag("Settings", "BlackWhite", false);
        if (blackAndWhite != blackAndWhite_) {
            blackAndWhite_ = blackAndWhite;
            loadIcons();
        }
        toolTips_ = settings.getFlag("Settings", "ToolTips", true);
        toolbox_->applySettings();
        soundPicker_->settingsChanged();
        sound_.settingsChanged();
        if (app_.autosave())
            app_.autosave()->applySettings();
        stamps_->settingsChanged();
    }
    tellEveryFilm(flags);
}

QToolBar* CMainFrame::paletteOrSoundBar() const
{
    return soundToolChosen_ ? static_cast<QToolBar*>(soundTools_) : palette_;
}

void CMainFrame::toolChanged()
{
    const bool sound = app_.toolBox().currentNumber() == ToolBox::Sound;
    if (sound == soundToolChosen_)
        return;
    soundToolChosen_ = sound;
    QAction* menu = soundTools_->menu()->menuAction();
    if (sound) {
        soundBarWasShown_ = !soundTools_->isHidden();
        soundTools_->show();
        soundPicker_->window().showPicker();
        // The Sounds menu goes where a tool's own menu goes: after File and Edit.
        const QList<QAction*> menus = menuBar()->actions();
        menuBar()->insertAction(menus.size() > 2 ? menus[2] : nullptr, menu);
    } else {
        if (!soundBarWasShown_)
            soundTools_->hide();
        menuBar()->removeAction(menu);
    }
}

void CMainFrame::tellEveryFilm(uint32_t hint)
{
    std::vector<CCelvaneDoc*> told;
    for (CCelvaneView* view : views()) {
        CCelvaneDoc* doc = &view->document();
        if (std::find(told.begin(), told.end(), doc) == told.end()) {
            told.push_back(doc);
            doc->updateAllViews(nullptr, hint);
        }
    }
    // With no film to pass it on, the commands still follow a new tool or new settings.
    if (told.empty())
        refreshCommandStates();
}

void CMainFrame::onDocumentUpdate(DocumentObserver*, uint32_t hint, const ChangeRecord*)
{
    // A tool's strokes only redraw; any other change may change what the commands can do.
    if (hint & ~uint32_t(Hint::ToolRedrew))
        refreshCommandStates();
}

void CMainFrame::buildMenus()
{
    const std::function<void(QMenu*, std::span<const MenuEntry>)> fill = [&](QMenu* menu,
                                                                            std::span<const MenuEntry> items) {
        for (const MenuEntry& e : items) {
            if (e.id == 0) {
                menu->addSeparator();
            } else if (e.id == -1) {
                fill(menu->addMenu(QString::fromUtf8(e.title)), e.items);
            } else if (auto it = actions_.find(e.id); it != actions_.end()) {
                menu->addAction(it->second);
            }
        }
        // States are asked for as the menu opens, as the user sees them; a greyed-out item's
        // tool tip says why.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshCommandStates);
        menu->setToolTipsVisible(true);
    };
    for (const MenuEntry& top : celvane::menuBar())
        fill(menuBar()->addMenu(QString::fromUtf8(top.title)), top.items);
    updateRecentFiles();
}

void CMainFrame::buildToolBars()
{
    standard_ = addToolBar("Standard");
    standard_->setObjectName("Standard");
    for (int id : kStandardBar) {
        if (id == 0)
            standard_->addSeparator();
        else if (auto it = actions_.find(id); it != actions_.end())
            standard_->addAction(it->second);
    }
    // Colours in reach from the first start: the palette along the bottom, on a row of its own
    // so that its cells can take the window's width.
    palette_ = new CColourPalette(this);
    addToolBar(Qt::BottomToolBarArea, palette_);
    addToolBarBreak(Qt::BottomToolBarArea);
    // The bars that show the program's own commands take their actions from here.
    const auto actionOf = [this](int id) { return actions_.count(id) ? actions_[id] : nullptr; };
    soundPicker_ = new CSoundPicker(sound_.library(), [this] { return active_; }, this);
    soundPicker_->start();
    soundTools_ = new CSoundTools(*soundPicker_, actionOf, this);
    addToolBar(Qt::BottomToolBarArea, soundTools_);
    soundTools_->hide();
    soundTools_->menu()->addSeparator();
    soundTools_->menu()->addAction("Sound &Picker", this, [this] { soundPicker_->window().showPicker(); });
    playTool_ = new CPlayTool(actionOf, this);
    playTool_->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    addToolBar(Qt::BottomToolBarArea, playTool_);
    toolbox_ = new CTools(app_.toolBox(), actionOf, [this](int id) { return runCommand(id); }, this);
    addToolBar(Qt::LeftToolBarArea, toolbox_);
    stamps_ = std::make_unique<CStampPicker>(*this, [this](uint32_t hint) { tellEveryFilm(hint); });
    app_.toolBox().stamp().setPicker(&stamps_->model());
    app_.toolBox().text().setPicker(&stamps_->model());
    toolbox_->showStampPicker = [this](bool toggle) { stamps_->show(toggle); };
    app_.toolBox().snapshot().sendToStamps = [this](Sprite&& picture) {
        stamps_->addSnapshot(picture);
        toolbox_->choose(ToolBox::Stamp, true);
    };
    toolbox_->grabIntoStamps = [this] {
        if (stamps_->grabSnapshotFromClipboard())
            toolbox_->choose(ToolBox::Stamp, true);
    };
    toolbox_->setKeepClear([this] {
        if (!active_)
            return QRect();
        const Rect frame = active_->layout().frameRect();
        QWidget* port = active_->viewport();
        const QRect shown = QRect(frame.left, frame.top, frame.width(), frame.height()).intersected(port->rect());
        return QRect(port->mapToGlobal(shown.topLeft()), shown.size());
    });
    // The toolbox holds back its own tips; these bars' buttons are watched here.
    toolTips_ = Settings::instance().getFlag("Settings", "ToolTips", true);
    for (QToolBar* bar : {standard_, static_cast<QToolBar*>(playTool_)})
        for (QToolButton* b : bar->findChildren<QToolButton*>())
            b->installEventFilter(this);
}

void CMainFrame::restoreBars()
{
    const std::string saved = Settings::instance().getString("Settings", kBarsValue, "");
    if (!saved.empty())
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(saved)), kBarsVersion);
}

void CMainFrame::saveBars()
{
    Settings::instance().writeString("Settings", kBarsValue, saveState(kBarsVersion).toBase64().toStdString());
}

void CMainFrame::buildStatusBar()
{
    scalePane_ = new QLabel(this);
    scalePane_->setMinimumWidth(scalePane_->fontMetrics().horizontalAdvance("1600%") + 8);
    scalePane_->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(scalePane_);
    scalePane_->setText(QString("%1%").arg(CCelvaneView::defaultScale()));
    statusBar()->setVisible(Settings::instance().getFlag("Settings", "StatusBar", false));
}

void CMainFrame::addView(CCelvaneView* view)
{
    new ViewTools(*view, app_.toolBox()); // owned by the view
    // Owned by the view.
    new PlaybackController(*view);
    new PreviewCommands(*view);
    describeFilm(*view);
    connect(view, &CCelvaneView::scaleChanged, this, [this, view](int scale) {
        if (view == active_)
            scalePane_->setText(QString("%1%").arg(scale));
    });
    connect(view, &CCelvaneView::fitWindowRequested, this, &CMainFrame::fitWindowToFilm);
    connect(view, &CCelvaneView::activated, this, &CMainFrame::setActiveView);
    connect(view, &CCelvaneView::filesDropped, this, [this, view](const QStringList& paths) {
        for (const QString& path : paths)
            app_.filmImport().importDropped(*view, path.toStdString());
        updateTitle();
    });
    connect(view, &CCelvaneView::stampsDropped, this,
            [this, view](const QMimeData* data) { app_.filmImport().dropStamps(*view, data); });
    connect(view, &QObject::destroyed, this, [this, view, doc = &view->document()] {
        // Everything that follows the active view lets go of this one before its film may go.
        if (active_ == view) {
            active_ = nullptr;
            const auto rest = views();
            setActiveView(rest.empty() ? nullptr : rest.back());
        }
        app_.viewClosed(doc);
    });
    if (mdi_) {
        QMdiSubWindow* sub = mdi_->addSubWindow(view);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->installEventFilter(this);
        connect(sub, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::updateTitle);
        sub->show();
    } else {
        delete takeCentralWidget();
        setCentralWidget(view);
    }
    view->setFocus();
    setActiveView(view);
}

std::vector<CCelvaneView*> CMainFrame::views() const
{
    std::vector<CCelvaneView*> list;
    if (mdi_) {
        for (QMdiSubWindow* w : mdi_->subWindowList())
            if (auto* v = qobject_cast<CCelvaneView*>(w->widget()))
                list.push_back(v);
    } else if (auto* v = qobject_cast<CCelvaneView*>(centralWidget())) {
        list.push_back(v);
    }
    return list;
}

CCelvaneView* CMainFrame::activeView() const { return active_; }

void CMainFrame::setActiveView(CCelvaneView* view)
{
    active_ = view;
    follower_.follow(view, [this] { follower_.follow(nullptr, {}); });
    palette_->setActiveView(view);
    soundTools_->setActiveView(view);
    playTool_->setActiveView(view);
    if (view)
        scalePane_->setText(QString("%1%").arg(view->scale()));
    updateChain();
    updateTitle();
    refreshCommandStates();
}

void CMainFrame::updateChain()
{
    CommandTarget* document = active_ ? app_.commandsFor(&active_->document()) : nullptr;
    router_.setChain({active_, ViewTools::of(active_), document, this, &print_, &sound_, &app_});
}

bool CMainFrame::runCommand(int id)
{
    updateChain();
    const bool handled = router_.execute(id);
    updateTitle();
    refreshCommandStates();
    return handled;
}

CommandState CMainFrame::commandState(int id)
{
    updateChain();
    return router_.state(id);
}

void CMainFrame::refreshCommandStates()
{
    updateChain();
    for (auto& [id, action] : actions_) {
        const CommandState s = router_.state(id);
        action->setEnabled(s.enabled);
        if (const QString tip = toolTipFor(id, s.enabled); action->toolTip() != tip)
            action->setToolTip(tip);
        action->setCheckable(s.checked || action->isCheckable());
        action->setChecked(s.checked);
        if (!s.text.empty())
            if (const QString text = actionText(*findCommand(id), s.text); action->text() != text)
                action->setText(text);
    }
    updateTitle();
}

std::string CMainFrame::filmTitleOf(const CCelvaneView* view) const
{
    const DocumentCommands* d = view ? app_.commandsFor(&view->document()) : nullptr;
    if (!d)
        return {};
    int windows = 0, number = 1;
    for (CCelvaneView* v : views())
        if (&v->document() == &view->document()) {
            ++windows;
            if (v == view)
                number = windows;
        }
    return filmWindowTitle(d->title(), number, windows, d->document().isModified());
}

QString CMainFrame::toolTipFor(int id, bool enabled) const
{
    const CommandInfo* c = findCommand(id);
    if (!c)
        return {};
    QString tip = c->toolTip ? QString::fromUtf8(c->toolTip) : spokenText(QString::fromUtf8(commandText(*c)));
    if (enabled)
        return tip;
    // Greyed out: say why, so that nobody is left guessing.
    const char* why = unavailableReason(id);
    if (!why)
        why = active_ ? "Not available in this version of Celvane" : "Start or open a film first";
    return tip + " (" + QString::fromUtf8(why) + ")";
}

void CMainFrame::updateTitle()
{
    const auto retitle = [](QWidget* window, const std::string& title) {
        if (window->windowTitle().toStdString() != title)
            window->setWindowTitle(QString::fromStdString(title));
    };
    // With several windows each film window says which film it shows; a maximised one has no
    // title bar, and its title would only be repeated in the frame's.
    if (mdi_)
        for (CCelvaneView* view : views()) {
            QWidget* window = view->parentWidget();
            retitle(window, window->isMaximized() ? std::string() : filmTitleOf(view));
        }
    retitle(this, frameTitle(filmTitleOf(active_), kAppTitle));
}

void CMainFrame::updateRecentFiles()
{
    const auto& paths = app_.recentFiles().paths();
    for (int i = 0; i < RecentFiles::kEntries; ++i) {
        QAction* a = actions_.count(ID_FILE_MRU_FILE1 + i) ? actions_[ID_FILE_MRU_FILE1 + i] : nullptr;
        if (!a)
            continue;
        const bool used = size_t(i) < paths.size();
        a->setVisible(used);
        if (used)
            a->setText(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(
                std::filesystem::path(paths[size_t(i)]).filename().string())));
    }
}

void CMainFrame::fitWindowToFilm()
{
    CCelvaneView* view = active_;
    if (!view)
        return;
    const QSize needed = view->neededClientSize();
    // Twice: the first resize may change how much room menus, bars and scroll bars take.
    const auto fit = [&](QWidget* window, const QSize& largest) {
        for (int pass = 0; pass < 2; ++pass) {
            // Layouts place the film window when next idle; measure where it will be.
            if (QLayout* layout = window->layout())
                layout->activate();
            const QSize have = view->roomWithoutScrollBars();
            if (have == needed)
                break;
            window->resize((window->size() + (needed - have)).boundedTo(largest));
        }
    };
    // A maximised film window fills the frame, so the frame is what must change size.
    QWidget* filmWindow = mdi_ ? view->parentWidget() : nullptr;
    if (!filmWindow || filmWindow->isMaximized()) {
        if (isMaximized())
            showNormal();
        // Never larger than the screen: a bigger film scrolls, and every bar stays in sight.
        const QRect screen = availableScreenArea();
        fit(this, screen.size() - (frameGeometry().size() - size()));
        move(WindowPlace({.screen = screen}).inside(frameGeometry().topLeft(), frameGeometry().size()));
    } else {
        fit(filmWindow, mdi_->viewport()->size());
    }
}

void CMainFrame::editChoices()
{
    Settings& settings = Settings::instance();
    CChoices sheet(settings, app_.screen(), dataFolder(), this);
    if (sheet.exec() != QDialog::Accepted)
        return;
    OptionsChoices::load(settings, dataFolder()).applyFastGraphics();
    settingsChanged(Hint::SettingsChanged);
}

QRect CMainFrame::availableScreenArea() const
{
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return shown ? shown->availableGeometry() : QRect(0, 0, width(), height());
}

void CMainFrame::addCommands()
{
    for (const CommandInfo& c : allCommands())
        if (const int tool = ToolBox::numberForCommand(c.id); tool >= 0)
            // Tools not built yet stay in the menu, disabled.
            CommandTarget::addCommands({{c.id, [this, tool] { toolbox_->choose(tool, false); }, [this, tool] {
                                             return checkedWhen(app_.toolBox().currentNumber() == tool,
                                                                app_.toolBox().tool(tool) != nullptr);
                                         }}});
    const auto withFilm = [this] { return enabledWhen(active_ != nullptr); };
    const auto showing = [](int id, QToolBar* bar) {
        return CommandEntry{id, [bar] { bar->setHidden(!bar->isHidden()); },
                            [bar] { return checkedWhen(!bar->isHidden()); }};
    };
    CommandTarget::addCommands({
        {ID_VIEW_STATUS_BAR, [this] { toggleStatusBar(); }, [this] { return checkedWhen(statusBar()->isVisible()); }},
        {ID_VIEW_FIT_WINDOW, [this] { fitWindowToFilm(); }, withFilm},
        {ID_VIEW_CHOICES, [this] { editChoices(); }, alwaysEnabled},
        {ID_FILE_IMPORT, [this] { app_.filmImport().chooseAndImport(*active_); }, withFilm},
        {ID_EDIT_PASTE, [this] { app_.filmImport().paste(*active_); },
         [this] { return enabledWhen(active_ && active_->film() && FrameClipboard::canPaste()); }},
        // The third bar is the palette, or the Sound bar while the sound tool is chosen.
        {ID_VIEW_PALETTE, [this] { paletteOrSoundBar()->setHidden(!paletteOrSoundBar()->isHidden()); },
         [this] {
             CommandState state = checkedWhen(!paletteOrSoundBar()->isHidden());
             state.text = soundToolChosen_ ? "S&ound" : "P&alette";
             return state;
         }},
        showing(ID_VIEW_PLAY_TOOLS, playTool_),
        showing(ID_VIEW_TOOLBOX, toolbox_),
        {ID_VIEW_BLACK_WHITE, [this] { toggleBlackAndWhite(); }, [this] { return checkedWhen(blackAndWhite_); }},
    });
}

void CMainFrame::toggleStatusBar()
{
    const bool show = !statusBar()->isVisible();
    statusBar()->setVisible(show);
    Settings::instance().writeInt("Settings", "StatusBar", show ? 1 : 0);
}

void CMainFrame::toggleBlackAndWhite()
{
    Settings::instance().writeInt("Settings", "BlackWhite", blackAndWhite_ ? 0 : 1);
    settingsChanged(Hint::SettingsChanged);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (!toolTips_ && (event->type() == QEvent::ToolTip || event->type() == QEvent::StatusTip)
        && qobject_cast<QToolButton*>(watched))
        return true;
    if (event->type() == QEvent::Close)
        if (auto* sub = qobject_cast<QMdiSubWindow*>(watched))
            if (auto* view = qobject_cast<CCelvaneView*>(sub->widget()); view && !app_.closingView(view)) {
                event->ignore();
                return true;
            }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!app_.closeAllDocuments()) {
        event->ignore();
        return;
    }
    saveBars();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() || (active_ && event->mimeData()->hasFormat(CSoundPicker::kMimeType)))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    // Sounds dragged from the picker go into the current frame of the film shown.
    if (active_ && CSoundPicker::dropInto(*active_, *event->mimeData()))
        return;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            app_.openDocument(url.toLocalFile().toStdString());
}

} // namespace celvane
