#pragma once
// The failures of the GIF library. Each carries the library's own text as its detail, so the
// batch tool and logs say exactly what went wrong; the user sees the message of its kind.

#include <new>
#include <string>

#include "base/Errors.h"

namespace celvane {

// "Out of memory (step)", the text for an allocation that failed in a named step.
std::string gifOutOfMemoryText(const char* step);

[[noreturn]] void throwGifOutOfMemory(const char* step);
// Data that is not a GIF at all: refused as a format not understood.
[[noreturn]] void throwNotGif();
// A GIF damaged beyond use ("Bad compressed data", ...).
[[noreturn]] void throwGifDataError(const std::string& text);
// Data that is sound but that this library cannot take as it stands (size, colours).
[[noreturn]] void throwGifNotSupported(const std::string& text);

// Runs `work`, turning an allocation failure into the out-of-memory error of `step`.
template <class Work>
decltype(auto) gifAllocating(const char* step, Work&& work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        throwGifOutOfMemory(step);
    }
}

} // namespace celvane
