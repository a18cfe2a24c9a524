#pragma once
// A window's ghosting or in-betweening: which mode and level are on, which levels have been
// explained, and the blend and composite it shows, rebuilt when they are next shown after a
// change made them stale.

#include <cstdint>

#include "film/UpdateHint.h"
#include "view/PreviewCache.h"

namespace celvane {

class PreviewMode {
public:
    enum Mode : int { None = 0, Ghosting = 1, InBetweening = 2 };
    // Displays here are deeper than 8 bits; the blend is made at 8 bits, dithered to the
    // film's palette, as on systems whose shell is new enough to show such blends well.
    static constexpr int kBlendDepth = 8;

    // The "Preview" settings: ghosting 0 ... 2 and in-betweening 0 ... 2.
    void setLevels(int ghosting, int inBetweening);

    // The settings switch that keeps the blend shown while the film plays; off, a played film
    // shows clean frames rather than trails.
    static constexpr const char* kWhilePlayingSection = "Preview";
    static constexpr const char* kWhilePlayingName = "WhilePlaying";

    int mode() const { return mode_; }
    int level() const { return level_; }
    // The window shows the blend: a mode is on and the film is not playing with it hidden.
    bool on() const { return mode_ != None && !hidden_; }
    // Hides the blend while the film plays, or shows it again; true when what is shown changed.
    bool hide(bool hidden);

    struct Switch {
        bool changed = false;
        // A level shown for the first time in this window, to explain; -1 for none.
        int explain = -1;
    };
    // Asks for a mode: the mode already on turns preview off.
    Switch request(int mode);

    // A change to the film, by its update hint.
    void onHint(uint32_t hint, const ChangeRecord* change);
    // The composite for `current`, with `source` (the frame or a tool's provisional image)
    // over the blend. Decoding failures propagate.
    const Sprite& image(const Film& film, int current, const Sprite& source);

private:
    void dirtyAll() { dirty_ = {0, 0, 1 << 30, 1 << 30}; }

    int ghosting_ = 1;
    int inBetweening_ = 0;
    int mode_ = None;
    int level_ = -1;
    bool hidden_ = false;
    unsigned explained_ = 0;
    PreviewCache cache_;
    Rect dirty_;
    const Sprite* lastSource_ = nullptr;
};

} // namespace celvane
