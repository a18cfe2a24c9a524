#pragma once
// A Windows metafile (with or without its placeable header) or an enhanced metafile, checked
// and measured: the records kept as they came, with what playing and describing them needs.

#include <optional>

#include "base/ByteIO.h"

namespace celvane {

enum class MetafileKind { Windows, Enhanced };

// The 22-byte header some programs put before a Windows metafile.
struct PlaceableHeader {
    static constexpr uint32_t kKey = 0x9AC6CDD7;
    static constexpr size_t kSize = 22;

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int unitsPerInch = 0;

    // The header bytes, the checksum making the XOR of all eleven words 0.
    void write(ByteWriter& out) const;
};

struct MetafileData {
    MetafileKind kind = MetafileKind::Windows;
    // The records: a Windows metafile from its own header on, or a whole enhanced metafile.
    Bytes records;
    std::optional<PlaceableHeader> placeable;
    // Enhanced metafiles: the picture's bounds in reference-device pixels (inclusive), its
    // frame in hundredths of a millimetre, and the reference device in pixels and millimetres.
    int bounds[4] = {};
    int frame[4] = {};
    int devicePixels[2] = {};
    int deviceMillimetres[2] = {};
    // The size the picture is shown at, in pixels at 96 dots per inch.
    int displayWidth = 0;
    int displayHeight = 0;
    // Windows metafiles: the largest object table the records may use.
    int objectCount = 0;
};

// Checks the file's headers and record chain (never reading outside it) and measures the
// picture. The kind comes from the bytes, whatever the file's name says. ArchiveError with
// IDS_CANNOT_LOAD_METAFILE for anything that is not a metafile we can play, including a
// placeable header whose checksum is wrong.
MetafileData readMetafile(ByteSpan file);

// Windows metafile records start after this many bytes of their header.
constexpr size_t kWindowsHeaderSize = 18;
// The size of an enhanced metafile's reference device that a picture made here claims: 96 dots
// per inch, so that bounds in its pixels are pixels on the screen.
constexpr int kRecordedDevicePixels[2] = {1920, 1440};
constexpr int kRecordedDeviceMillimetres[2] = {508, 381};
// Raster operations of bitmap records: the source copied, anded with the picture, ored into it.
constexpr uint32_t kSrcCopy = 0x00CC0020, kSrcAnd = 0x008800C6, kSrcPaint = 0x00EE0086;

} // namespace celvane
