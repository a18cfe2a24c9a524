#include "platform/ProgramExit.h"

#include <cstdio>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define CELVANE_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CELVANE_LEAK_CHECK 1
#endif
#endif

#ifdef CELVANE_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace celvane {

void endProgram(int code)
{
#ifdef CELVANE_LEAK_CHECK
    // The leak check would otherwise run at exit, which is skipped; it ends the process itself
    // when it finds a leak.
    __lsan_do_leak_check();
#endif
    std::fflush(nullptr);
    ::_exit(code);
}

} // namespace celvane
