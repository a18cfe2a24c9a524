#include "base/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace celvane {

namespace {

// The whole of a regular file, or false (what was read so far is dropped).
bool readWhole(int fd, uint8_t* into, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, into + done, size - done);
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

} // namespace

FileContents::FileContents(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        size_ = size_t(info.st_size);
        read_.reset(static_cast<uint8_t*>(allocateLarge(size_)));
        if (!readWhole(fd, read_.get(), size_))
            read_.reset();
    }
    if (fd >= 0)
        ::close(fd);
    // Anything else (a missing file, a pipe, an empty or a shrinking file) goes the common way,
    // which reads it or says why not.
    if (!read_)
        copy_ = readFile(path);
}

} // namespace celvane
