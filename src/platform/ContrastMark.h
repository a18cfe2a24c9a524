#pragma once
// The contrast rule with the user's "Gamma" and "Threshold" settings.

#include <cstdint>

namespace celvane {

// White (0xFFFFFF) or black (0) for a mark on a background of this RGB value, with the
// settings "Gamma" (default 2.2) and "Threshold" (default 172) of section "Settings", read on
// every call so that a change applies at once.
uint32_t contrastForBackground(uint32_t rgbValue);

} // namespace celvane
