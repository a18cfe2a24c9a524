#include "view/ZoomToggle.h"

namespace celvane {

std::optional<ZoomToggle::Target> ZoomToggle::toggle(int scale, Point centre)
{
    if (scale != default_) {
        saved_ = Target{scale, centre};
        return Target{default_, std::nullopt};
    }
    // What was saved was away from the default, so going back always changes something.
    return saved_;
}

} // namespace celvane
