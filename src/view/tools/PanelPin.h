#pragma once
// Whether a tool panel stays open: its pin, which the user sets, or which the first move of a
// freshly shown panel sets when "PinOnInitialMove" is on (someone who moved it wants it there).

namespace celvane {

class PanelPin {
public:
    explicit PanelPin(bool pinOnInitialMove) : pinOnInitialMove_(pinOnInitialMove) {}

    bool pinned() const { return pinned_; }
    void setPinned(bool on) { pinned_ = on; }
    // The panel has just been shown: its next move by the user is the first.
    void shown() { movedSinceShown_ = false; }
    void movedByUser()
    {
        if (pinOnInitialMove_ && !movedSinceShown_)
            pinned_ = true;
        movedSinceShown_ = true;
    }
    // A panel that is dismissed hides unless pinned.
    bool hidesWhenDismissed() const { return !pinned_; }

private:
    bool pinOnInitialMove_;
    bool pinned_ = false;
    bool movedSinceShown_ = false;
};

} // namespace celvane
