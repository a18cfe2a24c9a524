#pragma once
// What several benchmarks share.

class QApplication;

namespace celvane::bench {

// The one application object, offscreen, made on first use. It goes when the benchmarks end,
// before the program's static objects: Qt's own statics must outlive it.
QApplication& application();

} // namespace celvane::bench
