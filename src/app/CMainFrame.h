#pragma once
// The program's main window: menus and tool bars built from the command table, the status bar
// with the scale, the film window(s), the title, and fitting the window to the film.

#include <QMainWindow>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "app/PrintCommands.h"
#include "app/SoundCommands.h"
#include "base/Command.h"
#include "film/UpdateHint.h"
#include "view/ActiveViewFollower.h"

class QLabel;
class QMdiArea;
class QToolBar;

namespace celvane {

class CCelvaneView;
class CColourPalette;
class CPlayTool;
class CSoundPicker;
class CSoundTools;
class CStampPicker;
class CTools;
class CelvaneApp;

class CMainFrame : public QMainWindow, public CommandTarget, public DocumentObserver {
    Q_OBJECT
public:
    CMainFrame(CelvaneApp& app, bool singleDocument);
    ~CMainFrame() override;

    // Puts a film window in the frame: in single-document mode it replaces the one shown.
    void addView(CCelvaneView* view);
    CCelvaneView* activeView() const;
    CTools* toolbox() const { return toolbox_; }
    CStampPicker& stampPicker() const { return *stamps_; }
    std::vector<CCelvaneView*> views() const;

    // Routes a command through the active view, its document and the application.
    bool runCommand(int id);
    CommandState commandState(int id);
    // Asks every action for its state again (enable, check, text): whenever a command runs, a
    // menu opens, the clipboard changes or the active film announces a change.
    void refreshCommandStates();
    void updateTitle();
    void updateRecentFiles();
    void fitWindowToFilm();
    // The Choices sheet; on OK every window takes the new settings at once.
    void editChoices();
    // Where a window may go on the screen it is shown on: the screen less its panels.
    QRect availableScreenArea() const;
    // Tells every window that settings changed (Hint::SettingsChanged and whatever other bits are given):
    // the status bar and tool bar pictures follow the settings file, then every film's views.
    void settingsChanged(uint32_t flags);
    // Every window of every film hears the hint.
    void tellEveryFilm(uint32_t hint);
    // The active film's hints bring the commands up to date.
    void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) override;
    CSoundTools* soundTools() const { return soundTools_; }
    CSoundPicker& soundPicker() const { return *soundPicker_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    // The frame's own commands: tools, bars, the status bar, and what needs the active window.
    void addCommands();
    void toggleStatusBar();
    void toggleBlackAndWhite();
    // The bars as they were left at the last exit.
    void restoreBars();
    void saveBars();
    void setActiveView(CCelvaneView* view);
    void updateChain();
    // Choosing the sound tool shows the Sound bar and the Sounds menu; leaving it puts them away.
    void toolChanged();
    QToolBar* paletteOrSoundBar() const;
    // A command's tool tip: what it does, and why it cannot be done when it is greyed out.
    QString toolTipFor(int id, bool enabled) const;
    void loadIcons();
    // The title of the film window showing the view ("walk.qfm:2 *"); empty for no view.
    std::string filmTitleOf(const CCelvaneView* view) const;

    CelvaneApp& app_;
    bool singleDocument_;
    QMdiArea* mdi_ = nullptr;
    CCelvaneView* active_ = nullptr;
    std::map<int, QAction*> actions_;
    QToolBar* standard_ = nullptr;
    CColourPalette* palette_ = nullptr;
    CPlayTool* playTool_ = nullptr;
    CSoundTools* soundTools_ = nullptr;
    CSoundPicker* soundPicker_ = nullptr;
    bool soundToolChosen_ = false;
    bool soundBarWasShown_ = false; // before the sound tool showed it
    CTools* toolbox_ = nullptr;
    std::unique_ptr<CStampPicker> stamps_;
    QLabel* scalePane_ = nullptr;
    PrintCommands print_;
    SoundCommands sound_;
    CommandRouter router_;
    ActiveViewFollower follower_{*this, *this};
    bool blackAndWhite_ = false;
    bool toolTips_ = true; // tool bar buttons show tips and fly-by texts
};

} // namespace celvane
