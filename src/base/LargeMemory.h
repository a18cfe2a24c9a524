#pragma once
// Memory for big pictures and files. It comes zeroed from fresh pages rather than being cleared
// word by word, and is backed by huge pages where the system offers them, so that making a
// large frame or reading a large file does not fault its memory in 4 KB at a time.

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <utility>

namespace celvane {

// Zeroed memory, released with std::free; std::bad_alloc when there is none.
void* allocateLarge(size_t bytes);

struct FreeLarge {
    void operator()(void* p) const noexcept { std::free(p); }
};

// A container allocator on allocateLarge whose elements of trivial types start as the memory
// came: zero.
template <class T>
struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U>
    LargeAllocator(const LargeAllocator<U>&) noexcept
    {
    }
    T* allocate(size_t n) { return static_cast<T*>(allocateLarge(n * sizeof(T))); }
    void deallocate(T* p, size_t) noexcept { std::free(p); }
    // The memory already holds zero elements of a trivial type: nothing to construct.
    template <class U>
    void construct(U*) noexcept
    {
        static_assert(std::is_trivially_default_constructible_v<U>);
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const LargeAllocator<U>&) const noexcept
    {
        return true;
    }
};

} // namespace celvane
