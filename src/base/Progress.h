#pragma once
// Long work reports how far it has got: (steps done, steps in all) after each step. Returning
// false asks the work to stop, which it does by throwing UserCancel, leaving things as they
// were before it started.

#include <functional>

namespace celvane {

using Progress = std::function<bool(int done, int total)>;

} // namespace celvane
