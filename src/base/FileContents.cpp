#include "base/FileContents.h"

namespace celvane {

FileContents::FileContents(const std::string& path)
{
    readFileInto(path, [&](size_t size) {
        data_.reset(static_cast<uint8_t*>(allocateLarge(size)));
        size_ = size;
        return data_.get();
    });
}

} // namespace celvane
