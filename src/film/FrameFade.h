#pragma once
// The transition into a frame and the pause after it.

namespace celvane {

struct FrameFade {
    enum Kind : int { Immediate = 0, Slide = 1, Wipe = 2, Slats = 3 };
    enum Direction : int { None = -1, FromLeft = 0, FromRight = 1, FromTop = 2, FromBottom = 3 };
    enum Field : int { KindField = 1, DirectionField = 2, PauseField = 4, AllFields = 7 };
    // Pause values other than n > 0 hundredths of a second.
    static constexpr int Continue = 0;
    static constexpr int Stop = -1;

    int kind = Immediate;
    int direction = None;
    int pause = Continue;

    bool isDefault() const { return kind == Immediate && direction == None && pause == Continue; }
    bool operator==(const FrameFade&) const = default;
};

} // namespace celvane
