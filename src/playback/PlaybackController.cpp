#include "playback/PlaybackController.h"

#include "base/CommandIds.h"
#include "film/Film.h"
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
    view.addCommandTarget(this);
}

PlaybackController::~PlaybackController() { timer_.stop(); }

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

void PlaybackController::updateFadeStep()
{
    const FadeState& fade = playback_.fade();
    if (!fade.running()) {
        view_.setFadeStep(std::nullopt);
        return;
    }
    const Rect frame = view_.layout().frameRect();
    view_.setFadeStep(fadeStep(fade.kind, fade.direction, fade.step(), fade.steps, frame.width(), frame.height()));
}

void PlaybackController::showFrame(int frame)
{
    updateFadeStep();
    view_.goToFrame(frame);
    view_.viewport()->repaint();
}

void PlaybackController::drawFadeStep()
{
    updateFadeStep();
    view_.viewport()->repaint();
}

void PlaybackController::playSounds(int frame)
{
    if (Film* f = film())
        f->playSounds(frame);
}

void PlaybackController::notify(uint32_t hint) { view_.document().updateAllViews(nullptr, hint); }

void PlaybackController::actionSound(const char* name) { ActionSounds::play(name); }

bool PlaybackController::previewOn() const { return view_.preview().on(); }

bool PlaybackController::checkOverRuns() const { return view_.showOverRuns(); }

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

bool PlaybackController::onCommand(int id)
{
    if (!film())
        return false;
    return navigate(id) || changeFilm(id);
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
