#pragma once
// The zoom toggle: away from the default scale it remembers where it was and goes to the
// default; at the default it goes back.

#include <optional>

#include "view/ViewLayout.h"

namespace celvane {

class ZoomToggle {
public:
    struct Target {
        int scale = 100;
        std::optional<Point> centre; // none: the middle of the frame
        bool operator==(const Target&) const = default;
    };

    explicit ZoomToggle(int defaultScale) : default_(defaultScale) {}
    int defaultScale() const { return default_; }

    // Where the toggle goes from `scale` with `centre` in the middle of the window; none when
    // there is nothing to go back to.
    std::optional<Target> toggle(int scale, Point centre);

private:
    int default_;
    std::optional<Target> saved_;
};

} // namespace celvane
