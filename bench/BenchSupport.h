#pragma once
// What several benchmarks share.

#include <string>

class QApplication;

namespace celvane::bench {

// The one application object, offscreen, made on first use. It goes when the benchmarks end,
// before the program's static objects: Qt's own statics must outlive it.
QApplication& application();

// A file in the temporary folder that no other benchmark run uses: several may run at once.
std::string scratchPath(const std::string& name);

} // namespace celvane::bench
