#include "base/ByteIO.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

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

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError("cannot open " + path);
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0)
        throw FileError("cannot read " + path);
    in.seekg(0, std::ios::beg);
    Bytes data;
    try {
        data.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
        throw MemoryError("file too large: " + path);
    }
    if (length > 0 && !in.read(reinterpret_cast<char*>(data.data()), length))
        throw FileError("end of file reached early in " + path);
    return data;
}

void writeFileAtomically(const std::string& path, ByteSpan data)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path temp = target;
    temp += ".celvane-tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            throw FileError("cannot create " + temp.string());
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw FileError("cannot write " + temp.string());
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError("cannot replace " + path + ": " + ec.message());
    }
}

} // namespace celvane
