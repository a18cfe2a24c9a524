#pragma once
// Playback in a film window: the window's clock and timer for the state machine, the Motion
// menu's commands and keys, and the fades drawn on the window. Made for each window and owned
// by it (a child object), so the timer goes with the window.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

#include "base/Command.h"
#include "playback/CFullScreenWindow.h"
#include "playback/Playback.h"
#include "view/FadeStep.h"

namespace celvane {

class CCelvaneView;

class PlaybackController : public QObject, public PlaybackHost, public CommandTarget {
    Q_OBJECT
public:
    explicit PlaybackController(CCelvaneView& view);
    ~PlaybackController() override;

    // The window's controller, if it has one.
    static PlaybackController* of(const CCelvaneView* view);

    CCelvaneView& view() const { return view_; }
    Playback& playback() { return playback_; }
    const Playback& playback() const { return playback_; }

    // PlaybackHost
    Film* film() override;
    int currentFrame() const override;
    int64_t now() const override { return clock_.elapsed(); }
    void setTimer(int id, int intervalMs) override;
    void killTimer() override;
    void showFrame(int frame) override;
    void drawFadeStep() override;
    void playSounds(int frame) override;
    void notify(uint32_t hint) override;
    void actionSound(const char* name, bool force) override;
    bool previewOn() const override;
    bool checkOverRuns() const override;

    // The running fade's step on a frame rectangle of that size; none when no fade runs.
    std::optional<FadeStep> fadeStepOn(const Rect& frameRect) const;
    // Opens the film on the whole screen, or closes it.
    void toggleFullScreen();
    CFullScreenWindow* fullScreenWindow() const { return fullScreen_; }

private:
    // The Play and Motion menus' commands and the keypad's, in three groups.
    void addMoveCommands();
    void addFilmCommands();
    void addWindowCommands();
    // Enabled while the window shows a film.
    CommandState withFilm(bool checked);
    void showGoToFrameDialog();
    void showFilmSpeedDialog();
    void showFadeDialog();
    void setMotion(int motion);
    void setDelay(int delayMs);
    void updateFadeStep();

    CCelvaneView& view_;
    Playback playback_{*this};
    QTimer timer_;
    int timerId_ = 0;
    QElapsedTimer clock_;
    QPointer<CFullScreenWindow> fullScreen_;
};

} // namespace celvane
