#pragma once
// A whole file in memory for reading, in large memory (LargeMemory.h): opening a big picture
// then costs little more than the copy out of the system's cache. Failures are readFile's.

#include <memory>
#include <string>

#include "base/ByteIO.h"
#include "base/LargeMemory.h"

namespace celvane {

class FileContents {
public:
    explicit FileContents(const std::string& path);

    ByteSpan bytes() const { return ByteSpan(data_.get(), size_); }

private:
    std::unique_ptr<uint8_t, FreeLarge> data_;
    size_t size_ = 0;
};

} // namespace celvane
