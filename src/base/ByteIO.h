#pragma once
// Little-endian reading and writing with every access bounds-checked. Formats never read
// through a struct overlay: each field is taken at its explicit offset.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Errors.h"

namespace celvane {

using Bytes = std::vector<uint8_t>;
using ByteSpan = std::span<const uint8_t>;

inline uint16_t loadLE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t loadLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void storeLE16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void storeLE32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// Reads fields from a byte range. Any read past the end throws an ArchiveError carrying
// `message` (a string-table id, 0 for the standard archive message), so a damaged file is
// always refused in the same words.
class ByteReader {
public:
    explicit ByteReader(ByteSpan data, int message = 0) : data_(data), message_(message) {}

    size_t size() const { return data_.size(); }
    size_t position() const { return pos_; }
    size_t remaining() const { return data_.size() - pos_; }
    void seek(size_t pos);
    void skip(size_t n) { seek(need(n) + n); }

    uint8_t u8() { return data_[advance(1)]; }
    uint16_t u16() { return loadLE16(&data_[advance(2)]); }
    uint32_t u32() { return loadLE32(&data_[advance(4)]); }
    int32_t i32() { return int32_t(u32()); }
    ByteSpan bytes(size_t n) { return data_.subspan(advance(n), n); }

    // Random access that leaves the position alone.
    uint32_t u32At(size_t offset) const;
    ByteSpan bytesAt(size_t offset, size_t n) const;

    [[noreturn]] void fail(const std::string& why) const;

private:
    size_t need(size_t n) const;
    size_t advance(size_t n)
    {
        const size_t at = need(n);
        pos_ = at + n;
        return at;
    }

    ByteSpan data_;
    size_t pos_ = 0;
    int message_;
};

// Appends little-endian fields to a byte vector. Constructed without a vector it only counts,
// which is how formats measure their size before writing.
class ByteWriter {
public:
    explicit ByteWriter(Bytes* out = nullptr) : out_(out), start_(out ? out->size() : 0) {}

    bool counting() const { return out_ == nullptr; }
    // Bytes written (or counted) through this writer.
    size_t written() const { return count_; }

    void u8(uint8_t v) { bytes(&v, 1); }
    void u16(uint16_t v)
    {
        uint8_t b[2];
        storeLE16(b, v);
        bytes(b, 2);
    }
    void u32(uint32_t v)
    {
        uint8_t b[4];
        storeLE32(b, v);
        bytes(b, 4);
    }
    // Grows the vector and copies in place rather than inserting a pointer range: GCC 12 at -O2
    // cannot tell that a range insert into an empty vector copies nothing of the old storage,
    // and warns of an overflow on that path (-Wstringop-overflow).
    void bytes(const void* p, size_t n)
    {
        if (out_ && n > 0) {
            const size_t at = out_->size();
            out_->resize(at + n);
            std::memcpy(out_->data() + at, p, n);
        }
        count_ += n;
    }
    void bytes(ByteSpan s) { bytes(s.data(), s.size()); }
    void zeros(size_t n)
    {
        if (out_)
            out_->insert(out_->end(), n, 0);
        count_ += n;
    }
    // Zero bytes up to the next multiple of `unit` of what this writer has written.
    void padTo(size_t unit) { zeros((unit - count_ % unit) % unit); }
    // Overwrites a word written earlier, `offset` bytes after this writer's start.
    void patchU32(size_t offset, uint32_t v)
    {
        if (out_)
            storeLE32(out_->data() + start_ + offset, v);
    }

private:
    Bytes* out_;
    size_t start_;
    size_t count_ = 0;
};

// Whole files in and out. writeFileAtomically writes beside the target and renames over it,
// so a failed save leaves the previous file as it was.
Bytes readFile(const std::string& path);
// The same into memory that `room` gives for the file's size (it may throw std::bad_alloc).
void readFileInto(const std::string& path, const std::function<uint8_t*(size_t)>& room);
void writeFileAtomically(const std::string& path, ByteSpan data);

} // namespace celvane
