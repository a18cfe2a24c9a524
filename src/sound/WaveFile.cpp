#include "sound/WaveFile.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "base/Errors.h"

namespace celvane {

namespace {

constexpr uint32_t kRiff = 0x46464952, kWave = 0x45564157, kFmt = 0x20746D66, kData = 0x61746164;
constexpr uint16_t kPcm = 1, kExtensible = 0xFFFE;
// The sub-format of an extensible description: a format tag in the first two bytes of a GUID
// whose other bytes are these.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// The encoding of a wave format description: its tag, or an extensible description's sub-format.
uint16_t formatTag(ByteSpan format)
{
    const uint16_t tag = loadLE16(&format[0]);
    if (tag == kExtensible && format.size() >= 40 && loadLE16(&format[16]) >= 22
        && std::equal(std::begin(kSubFormatTail), std::end(kSubFormatTail), format.begin() + 26))
        return loadLE16(&format[24]);
    return tag;
}

// The body of the first chunk tagged `tag` among the chunks of `form`; chunks are padded to an
// even length. A chunk that claims more than the file holds is an error.
std::optional<ByteSpan> findChunk(ByteSpan form, uint32_t tag)
{
    size_t at = 0;
    while (at + 8 <= form.size()) {
        const uint32_t id = loadLE32(&form[at]), length = loadLE32(&form[at + 4]);
        if (length > form.size() - at - 8) {
            if (id == tag)
                throw FileError("the wave file's \"" + std::string(reinterpret_cast<const char*>(&form[at]), 4)
                                + "\" chunk is cut short");
            return std::nullopt;
        }
        if (id == tag)
            return form.subspan(at + 8, length);
        at += 8 + size_t(length) + (length & 1);
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<Sound> readWave(ByteSpan data)
{
    // The RIFF form of type WAVE; a form that claims more than there is ends with the data.
    if (data.size() < 12 || loadLE32(&data[0]) != kRiff || loadLE32(&data[8]) != kWave)
        throw FileError("not a RIFF WAVE file");
    const ByteSpan form = data.subspan(12, std::min<size_t>(loadLE32(&data[4]) - 4u, data.size() - 12));
    const auto format = findChunk(form, kFmt);
    const auto samples = findChunk(form, kData);
    if (!format || format->size() < 16)
        throw FileError("the wave file has no usable \"fmt \" chunk");
    if (!samples)
        throw FileError("the wave file has no \"data\" chunk");

    const uint16_t channels = loadLE16(&(*format)[2]);
    const uint32_t rate = loadLE32(&(*format)[4]), bytesPerSecond = loadLE32(&(*format)[8]);
    const uint16_t bits = loadLE16(&(*format)[14]);
    // A rate past what sound files keep would change when the sound is saved into one.
    if (rate == 0 || rate > uint32_t(kMaxSoundRate) || bytesPerSecond == 0)
        throw FileError("the wave file's rate is not usable");
    const uint64_t count = uint64_t(samples->size()) * rate / bytesPerSecond;
    if (count > 0x7FFFFFFF)
        throw FileError("the wave file's rate is not usable");

    const bool pcm = formatTag(*format) == kPcm && (channels == 1 || channels == 2) && (bits == 8 || bits == 16);
    auto sound = Sound::create(pcm ? (channels == 2 ? 1 : 0) + (bits == 16 ? 2 : 0) : Sound::Described);
    Bytes block;
    if (!pcm) {
        ByteWriter w(&block);
        w.u32(uint32_t(format->size()));
        w.bytes(*format);
    }
    sound->setData(sound->storedCode(), int(rate), *samples, int(count), block);
    return sound;
}

std::unique_ptr<Sound> readWaveFile(const std::string& path) { return readWave(readFile(path)); }

} // namespace celvane
