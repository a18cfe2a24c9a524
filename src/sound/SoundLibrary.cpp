#include "sound/SoundLibrary.h"

#include <algorithm>
#include <cmath>

#include "base/Chunks.h"
#include "base/Errors.h"
#include "base/StringTable.h"
#include "sound/SoundPool.h"

namespace celvane {

namespace {

constexpr uint32_t kLogarithmicSet = makeTag("WAV1"), kAdpcmSet = makeTag("WAV2"), kAnySet = makeTag("WAV3");
constexpr uint32_t kNames = makeTag("NAM1");
constexpr size_t kEntryBytes = 16;
constexpr size_t kMaxName = 31;

// How long a sound's entry says it is: samples for ADPCM, bytes for the rest.
uint32_t entryLength(const Sound& s)
{
    return s.storedCode() == Sound::ImaAdpcm ? uint32_t(s.sampleCount()) : uint32_t(s.writeData(nullptr, false));
}

} // namespace

std::string cutOnLetter(const std::string& text, size_t bytes)
{
    size_t end = std::min(bytes, text.size());
    // A UTF-8 letter's later bytes are 10xxxxxx: cut before the letter they belong to.
    while (end > 0 && end < text.size() && (uint8_t(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

SoundLibrary::~SoundLibrary() { clear(); }

int SoundLibrary::add(Sound* sound, std::string name)
{
    SoundPool::take(*sound);
    sounds_.push_back(sound);
    selected_.push_back(0);
    names_.push_back(std::move(name));
    return count() - 1;
}

int SoundLibrary::hold(Sound* sound, std::string name)
{
    const int held = indexOf(sound);
    return held >= 0 ? held : add(sound, std::move(name));
}

void SoundLibrary::remove(int index)
{
    Sound* sound = sounds_[size_t(index)];
    sounds_.erase(sounds_.begin() + index);
    selected_.erase(selected_.begin() + index);
    names_.erase(names_.begin() + index);
    SoundPool::shared().release(sound);
}

void SoundLibrary::clear()
{
    while (!sounds_.empty())
        remove(count() - 1);
}

int SoundLibrary::indexOf(const Sound* sound) const
{
    const auto at = std::find(sounds_.begin(), sounds_.end(), sound);
    return at == sounds_.end() ? -1 : int(at - sounds_.begin());
}

int SoundLibrary::nextSelected(int from) const
{
    for (int i = std::max(from, 0); i < count(); ++i)
        if (selected_[size_t(i)])
            return i;
    return -1;
}

void SoundLibrary::selectAll(bool on) { std::fill(selected_.begin(), selected_.end(), on ? 1 : 0); }

namespace {

// The sound chunk of a set: the compact kinds first.
const Chunk* soundChunk(const ChunkSequence& chunks)
{
    const Chunk* set = chunks.find(kLogarithmicSet);
    set = set ? set : chunks.find(kAdpcmSet);
    return set ? set : chunks.find(kAnySet);
}

} // namespace

bool SoundLibrary::isChunkSet(ByteSpan data) { return soundChunk(ChunkSequence(data)) != nullptr; }

std::vector<int> SoundLibrary::readChunkSet(ByteSpan data)
{
    const ChunkSequence chunks(data);
    const Chunk* set = soundChunk(chunks);
    if (!set)
        return {};
    const ByteReader body(set->payload, IDS_FORMAT_NOT_UNDERSTOOD);
    const uint32_t n = body.u32At(0);
    if (n > (body.size() - 4) / kEntryBytes)
        throw ArchiveError("the sound set lists more sounds than it holds", IDS_FORMAT_NOT_UNDERSTOOD);

    // Where each sound went, and which of them are new here: the names go to those only.
    std::vector<int> places, added;
    for (uint32_t i = 0; i < n; ++i) {
        const size_t entry = 4 + i * kEntryBytes;
        const uint32_t offset = body.u32At(entry), length = body.u32At(entry + 4);
        const int32_t rateField = int32_t(body.u32At(entry + 8));
        const uint32_t format = body.u32At(entry + 12);
        const int code = set->tag == kLogarithmicSet ? Sound::Logarithmic
                       : set->tag == kAdpcmSet       ? Sound::ImaAdpcm
                       : format >= 20                ? Sound::Described
                                                     : int(format);
        const int rate = set->tag == kAnySet ? int(std::clamp<int32_t>(rateField, 1, kMaxSoundRate)) : rateOfLogCode(rateField);
        const size_t bytes = code == Sound::ImaAdpcm ? (size_t(length) + 1) / 2 : size_t(length);
        const uint64_t samples = code == Sound::ImaAdpcm ? length : length / uint32_t(frameBytesOf(code));
        if (samples > 0x7FFFFFFF)
            throw ArchiveError("a sound is too long", IDS_FORMAT_NOT_UNDERSTOOD);
        ByteSpan block;
        if (code == Sound::Described)
            block = body.bytesAt(format, 4 + size_t(body.u32At(format)));

        auto sound = Sound::create(code);
        sound->setData(code, rate, body.bytesAt(offset, bytes), int(samples), block);
        sound->checkPlayability();
        Sound* pooled = SoundPool::shared().add(std::move(sound));
        const int held = indexOf(pooled);
        added.push_back(held >= 0 ? -1 : add(pooled, std::string()));
        places.push_back(held >= 0 ? held : added.back());
    }

    if (const Chunk* names = chunks.find(kNames)) {
        const ByteReader records(names->payload, IDS_FORMAT_NOT_UNDERSTOOD);
        size_t at = 0;
        for (const int index : added) {
            if (at + 4 > records.size())
                break;
            const size_t length = loadLE16(&names->payload[at]);
            if (length < 4 || length > records.size() - at)
                break;
            if (index >= 0) {
                const ByteSpan text = records.bytesAt(at + 4, length - 4);
                const auto end = std::find(text.begin(), text.end(), uint8_t(0));
                names_[size_t(index)].assign(text.begin(), end);
            }
            at += length;
        }
    }
    return places;
}

size_t SoundLibrary::writeChunkSet(ByteWriter* out, bool selectedOnly) const
{
    std::vector<int> indices;
    for (int i = 0; i < count(); ++i)
        if (!selectedOnly || selected(i))
            indices.push_back(i);
    return writeChunkSet(out, indices);
}

size_t SoundLibrary::writeChunkSet(ByteWriter* out, const std::vector<int>& indices) const
{
    if (indices.empty())
        return 0;
    ByteWriter counter;
    ByteWriter& w = out ? *out : counter;
    const size_t start = w.written();

    auto allOf = [&](int code) {
        return std::all_of(indices.begin(), indices.end(), [&](int i) { return sounds_[size_t(i)]->storedCode() == code; });
    };
    const uint32_t tag = allOf(Sound::Logarithmic) ? kLogarithmicSet : allOf(Sound::ImaAdpcm) ? kAdpcmSet : kAnySet;

    // Lay out the body: the table, then the format blocks, then the data.
    std::vector<Bytes> blocks(indices.size());
    size_t at = 4 + indices.size() * kEntryBytes;
    std::vector<uint32_t> blockAt(indices.size(), 0), dataAt(indices.size(), 0);
    for (size_t k = 0; k < indices.size(); ++k) {
        const Sound& s = *sounds_[size_t(indices[k])];
        if (s.storedCode() == Sound::Described) {
            blocks[k] = s.formatBlockAt(s.rate());
            blockAt[k] = uint32_t(at);
            at += blocks[k].size();
        }
    }
    for (size_t k = 0; k < indices.size(); ++k) {
        dataAt[k] = uint32_t(at);
        at += sounds_[size_t(indices[k])]->writeData(nullptr, false);
    }
    const size_t headerAt = w.written();
    writeChunkHeader(w, tag, 0);
    w.u32(uint32_t(indices.size()));
    for (size_t k = 0; k < indices.size(); ++k) {
        const Sound& s = *sounds_[size_t(indices[k])];
        w.u32(dataAt[k]);
        w.u32(entryLength(s));
        w.u32(tag == kAnySet ? uint32_t(s.rate()) : uint32_t(logRateCode(s.rate())));
        w.u32(s.storedCode() == Sound::Described ? blockAt[k] : uint32_t(s.storedCode()));
    }
    for (const Bytes& block : blocks)
        w.bytes(block);
    for (const int i : indices)
        sounds_[size_t(i)]->writeData(&w, false);
    w.padTo(4);
    w.patchU32(headerAt + 4, uint32_t(w.written() - headerAt));

    const size_t namesAt = w.written();
    writeChunkHeader(w, kNames, 0);
    for (const int i : indices) {
        const std::string name = cutOnLetter(names_[size_t(i)], kMaxName);
        const size_t length = (name.size() + 8) & ~size_t(3);
        w.u16(uint16_t(length));
        w.u16(0);
        w.bytes(name.data(), name.size());
        w.zeros(length - 4 - name.size());
    }
    w.patchU32(namesAt + 4, uint32_t(w.written() - namesAt));
    return w.written() - start;
}

} // namespace celvane
