#pragma once
// Playing a film in a window: the step timer and the three motions, fades between frames,
// pauses after them, stepping and the navigation and marking keys, and over-run marking. A plain
// state machine; the window (or a test) is its host and calls onTimer when the timer fires.

#include <cstdint>

#include "playback/PlaybackHost.h"

namespace celvane {

// The transition into the current frame, while it runs (counter 0: none).
struct FadeState {
    int counter = 0;
    int steps = 0;
    int interval = 0;
    int kind = 0;
    int direction = -1;

    bool running() const { return counter > 0; }
    // The step to draw now, 0-based.
    int step() const { return counter - 1; }
};

class Playback {
public:
    static constexpr int kStepTimer = 32;
    static constexpr int kFadeTimer = 33;

    explicit Playback(PlaybackHost& host) : host_(host) {}

    bool playing() const { return playing_; }
    int direction() const { return direction_; }
    // The frame whose step came late, or -1.
    int overRunFrame() const { return overRun_; }
    // 0 none, kStepTimer or kFadeTimer, and its interval.
    int timerId() const { return timerId_; }
    int interval() const { return interval_; }
    const FadeState& fade() const { return fade_; }

    // Plays forwards (+1) or backwards (-1); nothing for a film of fewer than two frames.
    void start(int direction);
    void stop();
    // Makes `frame` current; with effects its fade runs and its pause follows it.
    void goToFrame(int frame, bool withEffects);
    void onTimer(int id);
    // The frame delay changed: a running step timer takes it up.
    void speedChanged();

    void stepBack();
    void stepForward();
    void rewind();
    void lastFrame();
    // To the first marked frame, and to the end of the first marked run.
    void home();
    void end();
    // Step, then make the marked run reach the new current frame.
    void markStepBack();
    void markStepForward();
    // Mark from the current frame to the first or the last frame.
    void markToStart();
    void markToEnd();

private:
    void arm(int extraHundredths);
    void stepTick();
    void fadeTick();
    void markStep(void (Playback::*step)());
    void markTo(int target);
    void goWithSound(int frame);
    int frameCount();

    PlaybackHost& host_;
    bool playing_ = false;
    int direction_ = 1;
    int overRun_ = -1;
    int timerId_ = 0;
    int interval_ = 0;
    int64_t due_ = 0;
    // The pause after the current frame, in hundredths (-1 stops playback).
    int pause_ = 0;
    FadeState fade_;
};

} // namespace celvane
