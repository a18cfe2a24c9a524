#pragma once
// After a tool has moved the mouse pointer itself, events queued before the move still carry
// the old position. The next event nearer the old position than the new one is taken as at the
// new position; after that event positions are taken as they come.

#include <optional>

#include "view/ViewLayout.h"

namespace celvane {

class PointerWarp {
public:
    // A tool moved the pointer from `from` to `to` (client pixels).
    void moved(Point from, Point to) { warp_ = {from, to}; }
    // The position to use for an event at `p`.
    Point filter(Point p);

private:
    struct Warp {
        Point from, to;
    };
    std::optional<Warp> warp_;
};

} // namespace celvane
