#include "playback/Playback.h"

#include <algorithm>

#include "film/Film.h"
#include "film/FrameEditing.h"
#include "film/UpdateHint.h"
#include "film/FrameMarks.h"

namespace celvane {

namespace {
struct FadeTiming {
    int steps;
    int interval;
};

FadeTiming timingOf(int kind)
{
    switch (kind) {
    case FrameFade::Slide:
    case FrameFade::Wipe: return {32, 20};
    case FrameFade::Slats: return {16, 40};
    }
    return {0, 0};
}
} // namespace

int Playback::frameCount()
{
    const Film* film = host_.film();
    return film ? film->frameCount() : 0;
}

void Playback::start(int direction)
{
    if (playing_ && direction_ == direction)
        return;
    if (frameCount() < 2)
        return;
    direction_ = direction;
    playing_ = true;
    // A frame that stopped the film has had its pause; playing on from it goes at once.
    pause_ = 0;
    host_.notify(Hint::PlayState);
    host_.playSounds(host_.currentFrame());
    arm(0);
}

void Playback::stop()
{
    if (!playing_)
        return;
    playing_ = false;
    overRun_ = -1;
    host_.notify(Hint::PlayState);
    arm(0);
}

void Playback::speedChanged()
{
    if (playing_)
        arm(pause_);
}

void Playback::arm(int extra)
{
    if (extra < 0)
        stop();
    int id = 0, interval = 0;
    if (fade_.running()) {
        id = kFadeTimer;
        interval = fade_.interval;
    } else if (playing_) {
        id = kStepTimer;
        const Film* film = host_.film();
        interval = (film ? film->period() : 0) + 10 * std::max(extra, 0);
    }
    const bool reset = id != timerId_ || (id != 0 && interval != interval_);
    if (reset) {
        if (id == 0)
            host_.killTimer();
        else
            host_.setTimer(id, interval);
    }
    timerId_ = id;
    interval_ = interval;
    overRun_ = -1;
    if (playing_ && host_.checkOverRuns()) {
        // One extra interval, at most a quarter second, of lateness is allowed.
        const int64_t now = host_.now();
        const int64_t slack = std::min(interval, 250);
        due_ = reset ? now + interval + slack : due_ + interval;
        if (due_ < now) {
            overRun_ = host_.currentFrame();
            due_ = now + interval + slack;
        }
    }
}

void Playback::onTimer(int id)
{
    if (id == kStepTimer && playing_ && !fade_.running())
        stepTick();
    else if (id == kFadeTimer && fade_.running())
        fadeTick();
}

void Playback::stepTick()
{
    const int n = frameCount();
    const int cur = host_.currentFrame();
    int t = 0;
    if (n > 1) {
        t = cur + direction_;
        if (t < 0 || t >= n) {
            const Film* film = host_.film();
            switch (film->motion()) {
            case Film::Loop: t = direction_ > 0 ? 0 : n - 1; break;
            case Film::YoYo:
                direction_ = -direction_;
                t = cur + direction_;
                break;
            default:
                stop();
                t = cur;
            }
        }
    }
    goToFrame(t, true);
}

void Playback::fadeTick()
{
    if (++fade_.counter > fade_.steps)
        fade_ = {};
    host_.drawFadeStep();
    if (!fade_.running())
        arm(pause_);
}

void Playback::goToFrame(int frame, bool withEffects)
{
    const int n = frameCount();
    if (n == 0)
        return;
    frame = std::clamp(frame, 0, n - 1);
    if (frame == host_.currentFrame())
        return;
    fade_ = {};
    pause_ = 0;
    if (withEffects) {
        const FrameFade f = host_.film()->fade(frame);
        pause_ = f.pause;
        const FadeTiming timing = timingOf(f.kind);
        if (timing.steps > 0 && !host_.previewOn())
            fade_ = {1, timing.steps, timing.interval, f.kind, f.direction};
    }
    host_.showFrame(frame);
    host_.playSounds(frame);
    arm(pause_);
}

void Playback::stepBack()
{
    stop();
    const int n = frameCount();
    int t = host_.currentFrame() - 1;
    if (t < 0)
        t = host_.film() && host_.film()->motion() == Film::Loop ? n - 1 : 0;
    goToFrame(t, true);
}

void Playback::stepForward()
{
    stop();
    const int n = frameCount();
    int t = host_.currentFrame() + 1;
    if (t > n - 1)
        t = host_.film() && host_.film()->motion() == Film::Loop ? 0 : n - 1;
    goToFrame(t, true);
}

void Playback::goWithSound(int frame)
{
    stop();
    if (frame == host_.currentFrame())
        return;
    goToFrame(frame, true);
    host_.actionSound("To end", true);
}

void Playback::rewind() { goWithSound(0); }

void Playback::lastFrame() { goWithSound(frameCount() - 1); }

void Playback::home()
{
    const Film* film = host_.film();
    const int first = film ? FrameMarks::firstMarked(*film) : -1;
    if (first <= 0 || first == host_.currentFrame())
        rewind();
    else
        goWithSound(first);
}

void Playback::end()
{
    const Film* film = host_.film();
    const int last = film ? FrameMarks::endOfFirstRun(*film) : -1;
    if (last < 0) {
        lastFrame();
        return;
    }
    stop();
    if (last != host_.currentFrame())
        goToFrame(last, true);
    host_.actionSound("To end", true);
}

void Playback::markStep(void (Playback::*step)())
{
    const int from = host_.currentFrame();
    (this->*step)();
    if (Film* film = host_.film())
        FrameMarks::reachRun(*film, host_.currentFrame(), from);
    host_.notify(Hint::FrameMarks);
}

void Playback::markStepBack() { markStep(&Playback::stepBack); }

void Playback::markStepForward() { markStep(&Playback::stepForward); }

void Playback::markTo(int target)
{
    Film* film = host_.film();
    if (!film)
        return;
    const int from = host_.currentFrame();
    if (from == target) {
        FrameEditing::clearSelection(*film);
    } else {
        if (!FrameEditing::anyMarked(*film))
            film->setFrameSelected(from, true);
        goToFrame(target, true);
        FrameMarks::reachRun(*film, target, from);
    }
    host_.notify(Hint::FrameMarks);
}

void Playback::markToStart()
{
    stop();
    markTo(0);
}

void Playback::markToEnd() { markTo(frameCount() - 1); }

} // namespace celvane
