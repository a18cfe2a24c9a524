#include "import/MetafileData.h"

#include <algorithm>
#include <cmath>

#include "base/StringTable.h"

namespace celvane {

namespace {

constexpr uint32_t kEnhancedSignature = 0x464D4520; // " EMF"
constexpr uint16_t kSetWindowExt = 0x020C;
// Without a placeable header a Windows metafile is taken as 30 mm across.
constexpr int kUnplacedHiMetric = 3000;
// A picture claiming more is shown this size on its longer side, so that a film of it fits
// in memory.
constexpr int kLargestSide = 4000;

[[noreturn]] void refuse(const std::string& why) { throw ArchiveError(why, IDS_CANNOT_LOAD_METAFILE); }

int16_t s16(const uint8_t* p) { return int16_t(loadLE16(p)); }

// The XOR of the ten words before the checksum.
uint16_t placeableChecksum(const uint8_t* header)
{
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= loadLE16(header + i);
    return sum;
}

int hiMetricToPixels(double v) { return int(v * 96 / 2540); }

void setDisplaySize(MetafileData& m, double width, double height)
{
    if (!(width >= 1) || !(height >= 1) || !std::isfinite(width) || !std::isfinite(height))
        refuse("the picture has no size");
    const double scale = std::min(1.0, kLargestSide / std::max(width, height));
    m.displayWidth = std::max(1, int(width * scale));
    m.displayHeight = std::max(1, int(height * scale));
}

// Records count up to the end-of-file record or the first that does not fit the file.
void readWindows(MetafileData& m, ByteSpan records)
{
    if (records.size() < kWindowsHeaderSize)
        refuse("too short for a metafile header");
    const uint8_t* h = records.data();
    const uint16_t type = loadLE16(h), headerWords = loadLE16(h + 2), version = loadLE16(h + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        refuse("not a Windows metafile header");
    m.objectCount = loadLE16(h + 10);
    std::optional<std::pair<int, int>> windowExtent;
    size_t at = kWindowsHeaderSize;
    int count = 0;
    while (at + 6 <= records.size()) {
        const uint64_t bytes = uint64_t(loadLE32(records.data() + at)) * 2;
        const uint16_t function = loadLE16(records.data() + at + 4);
        if (bytes < 6 || bytes > records.size() - at)
            break;
        if (function == 0)
            break;
        if (function == kSetWindowExt && bytes >= 10 && !windowExtent)
            windowExtent = std::pair{std::abs(s16(records.data() + at + 8)), std::abs(s16(records.data() + at + 6))};
        ++count;
        at += bytes;
    }
    if (count == 0)
        refuse("a metafile without records");
    if (m.placeable) {
        const PlaceableHeader& p = *m.placeable;
        if (p.unitsPerInch <= 0)
            refuse("no units per inch");
        setDisplaySize(m, double(p.right - p.left) * 96 / p.unitsPerInch, double(p.bottom - p.top) * 96 / p.unitsPerInch);
        return;
    }
    // Its window extent gives the picture's shape.
    const double side = hiMetricToPixels(kUnplacedHiMetric);
    if (windowExtent && windowExtent->first > 0 && windowExtent->second > 0) {
        const double w = windowExtent->first, h2 = windowExtent->second;
        setDisplaySize(m, side * std::min(1.0, w / h2), side * std::min(1.0, h2 / w));
    } else {
        setDisplaySize(m, side, side);
    }
}

void readEnhanced(MetafileData& m, ByteSpan file)
{
    if (file.size() < 88)
        refuse("too short for an enhanced metafile header");
    const uint8_t* h = file.data();
    const uint32_t headerSize = loadLE32(h + 4);
    if (loadLE32(h) != 1 || loadLE32(h + 40) != kEnhancedSignature || headerSize < 88 || headerSize > file.size())
        refuse("not an enhanced metafile header");
    for (int i = 0; i < 4; ++i) {
        m.bounds[i] = int32_t(loadLE32(h + 8 + 4 * i));
        m.frame[i] = int32_t(loadLE32(h + 24 + 4 * i));
    }
    for (int i = 0; i < 2; ++i) {
        m.devicePixels[i] = int32_t(loadLE32(h + 72 + 4 * i));
        m.deviceMillimetres[i] = int32_t(loadLE32(h + 80 + 4 * i));
    }
    // Records are played up to the first that does not fit the file (a truncated copy keeps
    // what came before the damage).
    size_t at = 0, records = 0;
    while (at + 8 <= file.size()) {
        const uint32_t type = loadLE32(file.data() + at), size = loadLE32(file.data() + at + 4);
        if (size < 8 || size % 4 != 0 || size > file.size() - at || type == 14)
            break;
        at += size;
        ++records;
    }
    if (records < 2)
        refuse("no records after the header");
    const bool deviceKnown = m.devicePixels[0] > 0 && m.devicePixels[1] > 0 && m.deviceMillimetres[0] > 0 &&
        m.deviceMillimetres[1] > 0;
    if (!deviceKnown)
        refuse("no reference device");
    const double w = double(m.bounds[2]) - m.bounds[0], hgt = double(m.bounds[3]) - m.bounds[1];
    if (w > 0 && hgt > 0) {
        setDisplaySize(m, w * m.deviceMillimetres[0] * 960 / (double(m.devicePixels[0]) * 254),
                       hgt * m.deviceMillimetres[1] * 960 / (double(m.devicePixels[1]) * 254));
    } else {
        const double fw = double(m.frame[2]) - m.frame[0], fh = double(m.frame[3]) - m.frame[1];
        if (fw > 0 && fh > 0)
            setDisplaySize(m, fw * 96 / 2540, fh * 96 / 2540);
        else
            setDisplaySize(m, 500, 500);
    }
}

} // namespace

void PlaceableHeader::write(ByteWriter& out) const
{
    uint8_t b[kSize] = {};
    storeLE32(b, kKey);
    storeLE16(b + 6, uint16_t(left));
    storeLE16(b + 8, uint16_t(top));
    storeLE16(b + 10, uint16_t(right));
    storeLE16(b + 12, uint16_t(bottom));
    storeLE16(b + 14, uint16_t(unitsPerInch));
    storeLE16(b + 20, placeableChecksum(b));
    out.bytes(b, kSize);
}

MetafileData readMetafile(ByteSpan file)
{
    MetafileData m;
    if (file.size() >= 44 && loadLE32(file.data()) == 1 && loadLE32(file.data() + 40) == kEnhancedSignature) {
        m.kind = MetafileKind::Enhanced;
        readEnhanced(m, file);
        m.records.assign(file.begin(), file.end());
        return m;
    }
    ByteSpan records = file;
    if (file.size() >= PlaceableHeader::kSize && loadLE32(file.data()) == PlaceableHeader::kKey) {
        const uint8_t* h = file.data();
        if (placeableChecksum(h) != loadLE16(h + 20))
            refuse("the placeable header's checksum is wrong");
        m.placeable = PlaceableHeader{s16(h + 6), s16(h + 8), s16(h + 10), s16(h + 12), loadLE16(h + 14)};
        records = file.subspan(PlaceableHeader::kSize);
    }
    m.kind = MetafileKind::Windows;
    readWindows(m, records);
    m.records.assign(records.begin(), records.end());
    return m;
}

} // namespace celvane
