#pragma once
// The end of the process once everything of ours is closed and saved. The destructors of the
// libraries' statics are not run: Qt's sound engine, torn down there, disconnects from the sound
// server while the server's thread may still be polling, and now and then aborts a program that
// had ended well.

namespace celvane {

[[noreturn]] void endProgram(int code);

} // namespace celvane
