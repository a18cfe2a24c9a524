#include "base/ByteIO.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace celvane {

size_t ByteReader::need(size_t n) const
{
    if (n > data_.size() - pos_)
        fail("read past the end of the data");
    return pos_;
}

void ByteReader::seek(size_t pos)
{
    if (pos > data_.size())
        fail("position past the end of the data");
    pos_ = pos;
}

uint32_t ByteReader::u32At(size_t offset) const
{
    return loadLE32(bytesAt(offset, 4).data());
}

ByteSpan ByteReader::bytesAt(size_t offset, size_t n) const
{
    if (offset > data_.size() || n > data_.size() - offset)
        fail("field lies outside the data");
    return data_.subspan(offset, n);
}

void ByteReader::fail(const std::string& why) const
{
    throw ArchiveError(why, message_);
}

namespace {
// Closes a file descriptor on every way out.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }
    // Closing is where some file systems first report a full disk.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};
} // namespace

void readFileInto(const std::string& path, const std::function<uint8_t*(size_t)>& room)
{
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd() < 0)
        throw FileError::system(path, errno);
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0)
        throw FileError::system(path, errno);
    if (S_ISDIR(info.st_mode))
        throw FileError::system(path, EISDIR);
    const size_t size = static_cast<size_t>(info.st_size);
    uint8_t* data;
    try {
        data = room(size);
    } catch (const std::bad_alloc&) {
        throw MemoryError("file too large: " + path);
    }
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(file.fd(), data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileError::system(path, errno);
        if (n == 0)
            throw FileError("end of file reached early in " + path);
        done += size_t(n);
    }
}

Bytes readFile(const std::string& path)
{
    Bytes data;
    readFileInto(path, [&](size_t size) {
        data.resize(size);
        return data.data();
    });
    return data;
}

void writeFileAtomically(const std::string& path, ByteSpan data)
{
    namespace fs = std::filesystem;
    fs::path temp(path);
    temp += ".celvane-tmp";
    // Whatever goes wrong, the message names the file the user asked for, not the temporary one.
    const auto fail = [&](int error) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError::system(path, error);
    };
    FileHandle file(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.fd() < 0)
        throw FileError::system(path, errno);
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(file.fd(), data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n < 0 ? errno : EIO);
        done += size_t(n);
    }
    // On the disk before it takes the name: after a power cut the name holds the old file or
    // the new one, never a new name over data that never arrived.
    if (::fsync(file.fd()) != 0 || file.close() != 0)
        fail(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        fail(errno);
    // And the rename itself reaches the disk with its folder.
    const fs::path parent = temp.parent_path().empty() ? fs::path(".") : temp.parent_path();
    FileHandle folder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.fd() >= 0)
        ::fsync(folder.fd());
}

} // namespace celvane
