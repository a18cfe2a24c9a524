#pragma once
// Which part of the new frame each step of a slide, wipe or slats fade draws.

#include "view/FadeStep.h"

namespace celvane {

// Step `step` (0-based) of `steps` of a fade of `kind` from `direction`, onto a frame rectangle
// of `width` x `height` screen pixels.
FadeStep fadeStep(int kind, int direction, int step, int steps, int width, int height);

} // namespace celvane
