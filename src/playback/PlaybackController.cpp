#include "playback/PlaybackController.h"

#include <QScreen>

#include "base/CommandIds.h"
#include "film/Film.h"
#include "film/FrameEditing.h"
#include "playback/FrameMarks.h"
#include "playback/PlaybackDialogs.h"
#include "playback/FadeGeometry.h"
#include "playback/FilmSpeed.h"
#include "view/ActionSoundHook.h"
#include "view/CCelvaneView.h"

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

void PlaybackController::notify(uint32_t hint) { view_.document().updateAllViews(nullptr, hint); }

void PlaybackController::actionSound(const char* name) { ActionSounds::play(name); }

bool PlaybackController::previewOn() const { return view_.preview().on(); }

bool PlaybackController::checkOverRuns() const { return view_.showOverRuns() && !fullScreen_; }

void PlaybackController::setMotion(int motion)
{
    FilmSpeed::setMotion(*film(), motion);
    notify(Hint::Motion);
}

void PlaybackController::setDelay(int delayMs)
{
    FilmSpeed::setDelay(*film(), delayMs);
    notify(Hint::FilmSpeed);
}

bool PlaybackController::navigate(int id)
{
    switch (id) {
    case ID_PLAY_FORWARDS: playback_.start(1); break;
    case ID_PLAY_BACKWARDS: playback_.start(-1); break;
    case ID_PLAY_STOP:
    case ID_FILM_STRIP: playback_.stop(); break;
    case ID_PLAY_REWIND: playback_.rewind(); break;
    case ID_PLAY_LAST_FRAME: playback_.lastFrame(); break;
    case ID_STEP_BACK: playback_.stepBack(); break;
    case ID_STEP_FORWARD: playback_.stepForward(); break;
    case ID_GO_FIRST_MARKED: playback_.home(); break;
    case ID_GO_LAST_MARKED: playback_.end(); break;
    case ID_MARK_STEP_BACK: playback_.markStepBack(); break;
    case ID_MARK_STEP_FORWARD: playback_.markStepForward(); break;
    case ID_MARK_TO_START: playback_.markToStart(); break;
    case ID_MARK_TO_END: playback_.markToEnd(); break;
    default: return false;
    }
    return true;
}

bool PlaybackController::changeFilm(int id)
{
    const int motion = film()->motion();
    switch (id) {
    case ID_MOTION_LOOP: setMotion(Film::Loop); return true;
    case ID_MOTION_YOYO: setMotion(Film::YoYo); return true;
    case ID_MOTION_TO_END: setMotion(Film::ToEnd); return true;
    case ID_TOGGLE_LOOP: setMotion(motion == Film::Loop ? Film::ToEnd : Film::Loop); return true;
    case ID_TOGGLE_YOYO: setMotion(motion == Film::YoYo ? Film::ToEnd : Film::YoYo); return true;
    case ID_MOTION_CYCLE: setMotion((motion + 1) % 3); return true;
    }
    if (id >= ID_DELAY_1 && id <= ID_DELAY_9) {
        setDelay((id - ID_DELAY_1 + 1) * 40);
        return true;
    }
    return false;
}

void PlaybackController::showFadeDialog()
{
    Film& f = *film();
    const int first = FrameMarks::firstMarked(f);
    CFadeOptionsDialog dialog(f.fade(first >= 0 ? first : view_.currentFrame()), first >= 0, &view_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (first < 0) {
        f.setFade(view_.currentFrame(), dialog.fade(), FrameFade::AllFields);
        return;
    }
    for (int i = first; i < f.frameCount(); ++i)
        if (f.isFrameSelected(i))
            f.setFade(i, dialog.fade(), FrameFade::AllFields);
}

bool PlaybackController::dialogOrFullScreen(int id)
{
    FullScreen::Options& options = FullScreen::options();
    switch (id) {
    case ID_GO_TO_FRAME: {
        CGoToFrameDialog dialog(view_.currentFrame(), film()->frameCount(), &view_);
        if (dialog.exec() == QDialog::Accepted)
            playback_.goToFrame(dialog.frame(), true);
        return true;
    }
    case ID_FILM_SPEED: {
        CFilmSpeedDialog dialog(film()->period(), &view_);
        if (dialog.exec() == QDialog::Accepted)
            setDelay(dialog.delay());
        return true;
    }
    case ID_FADE_PAUSE: showFadeDialog(); return true;
    case ID_FULL_SCREEN: toggleFullScreen(); return true;
    case ID_FULL_SCREEN_STEP_WITH_MOUSE: options.stepWithMouse = !options.stepWithMouse; return true;
    case ID_FULL_SCREEN_ACTUAL_SIZE: options.size = FullScreen::ActualSize; return true;
    case ID_FULL_SCREEN_LARGE_SIZE: options.size = FullScreen::LargeSize; return true;
    case ID_FULL_SCREEN_FULL_SIZE: options.size = FullScreen::FullSize; return true;
    }
    return false;
}

bool PlaybackController::onCommand(int id)
{
    if (!film())
        return false;
    return navigate(id) || changeFilm(id) || dialogOrFullScreen(id);
}

bool PlaybackController::onUpdate(int id, CommandState& state)
{
    const Film* f = film();
    const bool playing = playback_.playing();
    const int motion = f ? f->motion() : Film::ToEnd;
    switch (id) {
    case ID_PLAY_FORWARDS: state.checked = playing && playback_.direction() > 0; break;
    case ID_PLAY_BACKWARDS: state.checked = playing && playback_.direction() < 0; break;
    case ID_PLAY_STOP: state.checked = !playing; break;
    case ID_MOTION_LOOP: state.checked = motion == Film::Loop; break;
    case ID_MOTION_YOYO: state.checked = motion == Film::YoYo; break;
    case ID_MOTION_TO_END: state.checked = motion == Film::ToEnd; break;
    case ID_FULL_SCREEN: state.checked = fullScreen_ != nullptr; break;
    case ID_FULL_SCREEN_STEP_WITH_MOUSE: state.checked = FullScreen::options().stepWithMouse; break;
    case ID_FULL_SCREEN_ACTUAL_SIZE:
    case ID_FULL_SCREEN_LARGE_SIZE:
    case ID_FULL_SCREEN_FULL_SIZE:
        state.checked = FullScreen::options().size == id - ID_FULL_SCREEN_ACTUAL_SIZE;
        break;
    case ID_GO_TO_FRAME:
    case ID_FILM_SPEED:
    case ID_FADE_PAUSE:
    case ID_FILM_STRIP:
    case ID_PLAY_REWIND:
    case ID_PLAY_LAST_FRAME:
    case ID_STEP_BACK:
    case ID_STEP_FORWARD:
    case ID_GO_FIRST_MARKED:
    case ID_GO_LAST_MARKED:
    case ID_MARK_STEP_BACK:
    case ID_MARK_STEP_FORWARD:
    case ID_MARK_TO_START:
    case ID_MARK_TO_END:
    case ID_TOGGLE_LOOP:
    case ID_TOGGLE_YOYO:
    case ID_MOTION_CYCLE: break;
    default:
        if (id < ID_DELAY_1 || id > ID_DELAY_9)
            return false;
    }
    state.enabled = f != nullptr;
    return true;
}

} // namespace celvane
