#pragma once
// A whole number typed into a dialog field, accepted only within its range: anything else is
// refused with "Please enter an integer between %1 and %2.".

#include <optional>
#include <string>

namespace celvane {

std::optional<int> acceptInteger(const std::string& text, int low, int high);

} // namespace celvane
