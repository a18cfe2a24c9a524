#include "base/LargeMemory.h"

#include <cstdint>
#include <new>

#include <sys/mman.h>

namespace celvane {

void* allocateLarge(size_t bytes)
{
    // Blocks this large come straight from the system, already zero: calloc does not clear them.
    void* p = std::calloc(bytes ? bytes : 1, 1);
    if (!p)
        throw std::bad_alloc();
    constexpr uintptr_t kHugePage = uintptr_t(2) << 20;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kHugePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE); // a hint: failure is harmless
    return p;
}

} // namespace celvane
