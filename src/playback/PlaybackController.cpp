#include "playback/PlaybackController.h"

#include <QScreen>

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "film/Film.h"
#include "film/FrameEditing.h"
#include "film/FrameMarks.h"
#include "playback/CFadeOptionsDialog.h"
#include "playback/CFilmSpeedDialog.h"
#include "playback/CGoToFrameDialog.h"
#include "playback/FadeGeometry.h"
#include "playback/FilmSpeed.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"
#include "view/tools/ViewTools.h"

namespace celvane {

PlaybackController::PlaybackController(CCelvaneView& view) : QObject(&view), view_(view)
{
    setObjectName("playback");
    clock_.start();
    // Late steps are caught by the over-run check; a coarse timer would make them all late.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { playback_.onTimer(timerId_); });
    connect(&view, &CCelvaneView::stopPlaybackRequested, this, [this] { playback_.stop(); });
    connect(&view, &CCelvaneView::filmSpeedChanged, this, [this] { playback_.speedChanged(); });
    connect(&view, &CCelvaneView::fullScreenToggleRequested, this, &PlaybackController::toggleFullScreen);
    view.addCommandTarget(this);
    addMoveCommands();
    addFilmCommands();
    addWindowCommands();
}

PlaybackController::~PlaybackController()
{
    timer_.stop();
    delete fullScreen_;
}

PlaybackController* PlaybackController::of(const CCelvaneView* view)
{
    return view ? view->findChild<PlaybackController*>("playback", Qt::FindDirectChildrenOnly) : nullptr;
}

Film* PlaybackController::film() { return view_.film(); }

int PlaybackController::currentFrame() const { return view_.currentFrame(); }

void PlaybackController::setTimer(int id, int intervalMs)
{
    timerId_ = id;
    timer_.start(intervalMs);
}

void PlaybackController::killTimer()
{
    timerId_ = 0;
    timer_.stop();
}

std::optional<FadeStep> PlaybackController::fadeStepOn(const Rect& frameRect) const
{
    const FadeState& fade = playback_.fade();
    if (!fade.running())
        return std::nullopt;
    return fadeStep(fade.kind, fade.direction, fade.step(), fade.steps, frameRect.width(), frameRect.height());
}

void PlaybackController::updateFadeStep() { view_.setFadeStep(fadeStepOn(view_.layout().frameRect())); }

void PlaybackController::showFrame(int frame)
{
    updateFadeStep();
    view_.goToFrame(frame);
    if (fullScreen_)
        fullScreen_->repaint();
    else
        view_.viewport()->repaint();
}

void PlaybackController::drawFadeStep()
{
    updateFadeStep();
    if (fullScreen_)
        fullScreen_->repaint();
    else
        view_.viewport()->repaint();
}

void PlaybackController::toggleFullScreen()
{
    if (fullScreen_) {
        ActionSounds::play("Fullscreen off");
        fullScreen_->close();
        notify(Hint::FrameChanged);
        view_.viewport()->update();
        return;
    }
    if (!film())
        return;
    ActionSounds::play("Fullscreen");
    fullScreen_ = new CFullScreenWindow(*this);
    if (QScreen* screen = view_.screen())
        fullScreen_->setGeometry(screen->geometry());
    fullScreen_->showFullScreen();
    fullScreen_->activateWindow();
    fullScreen_->setFocus();
}

void PlaybackController::playSounds(int frame)
{
    if (Film* f = film())
        f->playSounds(frame);
}

void PlaybackController::notify(uint32_t hint)
{
    // Ghosts behind a playing film look like trails: they wait until it stops, unless the
    // teacher asked for them.
    if (hint & Hint::PlayState) {
        const bool hidden = playback_.playing()
            && !Settings::instance().getFlag(PreviewMode::kWhilePlayingSection, PreviewMode::kWhilePlayingName, false);
        if (view_.preview().hide(hidden))
            view_.viewport()->update();
    }
    view_.document().updateAllViews(nullptr, hint);
}

void PlaybackController::actionSound(const char* name, bool force) { ActionSounds::play(name, force); }

bool PlaybackController::previewOn() const { return view_.preview().on(); }

bool PlaybackController::checkOverRuns() const { return view_.showOverRuns() && !fullScreen_; }

void PlaybackController::setMotion(int motion)
{
    ViewTools::changeSettings(view_.document(), "Motion", [&] { FilmSpeed::setMotion(*film(), motion); });
    notify(Hint::Motion);
}

void PlaybackController::setDelay(int delayMs)
{
    ViewTools::changeSettings(view_.document(), "Speed", [&] { FilmSpeed::setDelay(*film(), delayMs); });
    notify(Hint::FilmSpeed);
}

CommandState PlaybackController::withFilm(bool checked) { return checkedWhen(checked, film() != nullptr); }

void PlaybackController::addMoveCommands()
{
    const auto move = [this](int id, void (Playback::*step)()) {
        return CommandEntry{id, [this, step] { (playback_.*step)(); }, [this] { return withFilm(false); }};
    };
    const auto playing = [this](int direction) {
        return withFilm(playback_.playing() && playback_.direction() * direction > 0);
    };
    addCommands({
        {ID_PLAY_FORWARDS, [this] { playback_.start(1); }, [playing] { return playing(1); }},
        {ID_PLAY_BACKWARDS, [this] { playback_.start(-1); }, [playing] { return playing(-1); }},
        {ID_PLAY_STOP, [this] { playback_.stop(); }, [this] { return withFilm(!playback_.playing()); }},
        move(ID_FILM_STRIP, &Playback::stop),
        move(ID_PLAY_REWIND, &Playback::rewind),
        move(ID_PLAY_LAST_FRAME, &Playback::lastFrame),
        move(ID_STEP_BACK, &Playback::stepBack),
        move(ID_STEP_FORWARD, &Playback::stepForward),
        move(ID_GO_FIRST_MARKED, &Playback::home),
        move(ID_GO_LAST_MARKED, &Playback::end),
        move(ID_MARK_STEP_BACK, &Playback::markStepBack),
        move(ID_MARK_STEP_FORWARD, &Playback::markStepForward),
        move(ID_MARK_TO_START, &Playback::markToStart),
        move(ID_MARK_TO_END, &Playback::markToEnd),
    });
}

void PlaybackController::addFilmCommands()
{
    const auto motion = [this] { return film() ? film()->motion() : int(Film::ToEnd); };
    const auto plain = [this] { return withFilm(false); };
    const auto setting = [this, motion](int id, int chosen) {
        return CommandEntry{id, [this, chosen] { setMotion(chosen); },
                            [this, motion, chosen] { return withFilm(motion() == chosen); }};
    };
    // The keys that swap between a motion and the plain one.
    const auto toggle = [this, motion, plain](int id, int chosen) {
        return CommandEntry{id, [this, motion, chosen] { setMotion(motion() == chosen ? Film::ToEnd : chosen); },
                            plain};
    };
    addCommands({
        setting(ID_MOTION_LOOP, Film::Loop),
        setting(ID_MOTION_YOYO, Film::YoYo),
        setting(ID_MOTION_TO_END, Film::ToEnd),
        toggle(ID_TOGGLE_LOOP, Film::Loop),
        toggle(ID_TOGGLE_YOYO, Film::YoYo),
        {ID_MOTION_CYCLE, [this, motion] { setMotion((motion() + 1) % 3); }, plain},
    });
    for (int n = 1; n <= 9; ++n)
        addCommands({{ID_DELAY_1 + n - 1, [this, n] { setDelay(n * 40); }, plain}});
}

void PlaybackController::showFadeDialog()
{
    Film& f = *film();
    const int first = FrameMarks::firstMarked(f);
    CFadeOptionsDialog dialog(f.fade(first >= 0 ? first : view_.currentFrame()), first >= 0, &view_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ViewTools::changeSettings(view_.document(), "Transition", [&] {
        if (first < 0) {
            f.setFade(view_.currentFrame(), dialog.fade(), FrameFade::AllFields);
            return;
        }
        for (int i = first; i < f.frameCount(); ++i)
            if (f.isFrameSelected(i))
                f.setFade(i, dialog.fade(), FrameFade::AllFields);
    });
}

void PlaybackController::addWindowCommands()
{
    const auto plain = [this] { return withFilm(false); };
    const auto size = [this](int id, int chosen) {
        return CommandEntry{id, [chosen] { FullScreen::options().size = chosen; },
                            [this, chosen] { return withFilm(FullScreen::options().size == chosen); }};
    };
    addCommands({
        {ID_GO_TO_FRAME, [this] { showGoToFrameDialog(); }, plain},
        {ID_FILM_SPEED, [this] { showFilmSpeedDialog(); }, plain},
        {ID_FADE_PAUSE, [this] { showFadeDialog(); }, plain},
        {ID_FULL_SCREEN, [this] { toggleFullScreen(); }, [this] { return withFilm(fullScreen_ != nullptr); }},
        {ID_FULL_SCREEN_STEP_WITH_MOUSE,
         [] {
             bool& step = FullScreen::options().stepWithMouse;
             step = !step;
         },
         [this] { return withFilm(FullScreen::options().stepWithMouse); }},
        size(ID_FULL_SCREEN_ACTUAL_SIZE, FullScreen::ActualSize),
        size(ID_FULL_SCREEN_LARGE_SIZE, FullScreen::LargeSize),
        size(ID_FULL_SCREEN_FULL_SIZE, FullScreen::FullSize),
    });
}

void PlaybackController::showGoToFrameDialog()
{
    CGoToFrameDialog dialog(view_.currentFrame(), film()->frameCount(), &view_);
    if (dialog.exec() == QDialog::Accepted)
        playback_.goToFrame(dialog.frame(), true);
}

void PlaybackController::showFilmSpeedDialog()
{
    CFilmSpeedDialog dialog(film()->period(), &view_);
    if (dialog.exec() == QDialog::Accepted)
        setDelay(dialog.delay());
}

} // namespace celvane
