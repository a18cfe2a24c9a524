#pragma once
// What the playback state machine needs from around it: the film and the window's current
// frame, a clock and one timer, and the ways of showing a change. The window supplies the real
// ones; tests supply a fake clock and record the rest, so nothing waits.

#include <cstdint>

namespace celvane {

class Film;

class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;

    virtual Film* film() = 0;
    virtual int currentFrame() const = 0;
    // Milliseconds from any fixed start.
    virtual int64_t now() const = 0;
    // The one timer of the window: (re)started with an id and interval, or stopped.
    virtual void setTimer(int id, int intervalMs) = 0;
    virtual void killTimer() = 0;
    // Makes a frame current, tells every window of the film and repaints at once (the first
    // step of a fade, when one runs).
    virtual void showFrame(int frame) = 0;
    // Repaints the frame for the fade step now due (the whole frame when the fade has ended).
    virtual void drawFadeStep() = 0;
    virtual void playSounds(int frame) = 0;
    virtual void notify(uint32_t hint) = 0;
    virtual void actionSound(const char* name, bool force) = 0;
    // Ghosting or in-betweening is on: frames change without their fades.
    virtual bool previewOn() const = 0;
    // Late steps are marked: the setting is on and the film is not on the full screen.
    virtual bool checkOverRuns() const = 0;
};

} // namespace celvane
