#pragma once
// The Sound bar: hear the current frame's sound, record one for a frame that has none, take the
// sound off the frame, a wide button with the sound's name that opens the Sound Effect dialog,
// and the switches for film sounds and sound effects. Its actions also make the Sounds menu
// shown while the sound tool is chosen. It follows the active film window as one of its
// document's observers.

#include <QToolBar>
#include <functional>

#include "film/UpdateHint.h"
#include "view/ActiveViewFollower.h"

class QMenu;
class QToolButton;

namespace celvane {

class CCelvaneView;
class CSoundPicker;
class Film;

class CSoundTools : public QToolBar, public DocumentObserver {
    Q_OBJECT
public:
    // Recorded sounds also join the sound picker; `command` gives the program's action for a
    // command (the two switches), which shows its state.
    CSoundTools(CSoundPicker& picker, const std::function<QAction*(int)>& command, QWidget* parent = nullptr);
    ~CSoundTools() override;

    void setActiveView(CCelvaneView* view);
    // The Sounds menu, built from the bar's actions.
    QMenu* menu() const { return menu_; }

    void hear();
    void record();
    void deleteSound();
    void editEffect();
    // The name on the wide button; empty when the frame has no sound.
    QString soundName() const;

    void onDocumentUpdate(DocumentObserver* sender, uint32_t hint, const ChangeRecord* change) override;

private:
    Film* film() const;
    int frame() const;
    // The buttons follow whether the frame has a sound.
    void refresh();
    // The film changed: it is modified and its windows show the frame's new sound.
    void soundsChanged();
    // A change to the frame's sounds, made one step of the window's history.
    void changeSounds(const char* stepName, const std::function<void(Film&, int frame)>& change);

    CSoundPicker& picker_;
    ActiveViewFollower follower_{*this, *this};
    QAction* hear_;
    QAction* record_;
    QAction* delete_;
    QAction* effect_;
    QToolButton* name_;
    QMenu* menu_;
    bool canRecord_ = false;
};

} // namespace celvane
