#pragma once
// The fields of one record of a file (a metafile record, a Drawfile object), read at their
// offsets; a read outside the record throws ArchiveError, so that a damaged record is one
// that can be skipped.

#include "base/ByteIO.h"

namespace celvane {

class RecordFields {
public:
    explicit RecordFields(ByteSpan record) : data_(record) {}
    size_t size() const { return data_.size(); }
    uint32_t u32(size_t at) const { return loadLE32(need(at, 4)); }
    int32_t i32(size_t at) const { return int32_t(u32(at)); }
    uint16_t u16(size_t at) const { return loadLE16(need(at, 2)); }
    int16_t i16(size_t at) const { return int16_t(u16(at)); }
    uint8_t u8(size_t at) const { return *need(at, 1); }
    float f32(size_t at) const;
    ByteSpan span(size_t at, size_t n) const { return {need(at, n), n}; }

private:
    const uint8_t* need(size_t at, size_t n) const;
    ByteSpan data_;
};

} // namespace celvane
