#include "view/ZoomToggle.h"

namespace celvane {

std::optional<ZoomToggle::Target> ZoomToggle::toggle(int scale, Point centre)
{
    if (scale != default_) {
        saved_ = Target{scale, centre};
        return Target{default_, std::nullopt};
    }
    if (saved_ && *saved_ != Target{scale, centre})
        return saved_;
    return std::nullopt;
}

} // namespace celvane
