#pragma once
// A named, ordered set of pooled sounds with a selection: what the sound picker shows, what a
// film keeps for its frames, and what sound-library files, the sound part of film files and the
// sound clipboard hold as a chunk set ("WAV1", "WAV2" or "WAV3", then "NAM1").

#include <string>
#include <vector>

#include "base/ByteIO.h"
#include "sound/Sound.h"

namespace celvane {

// The longest start of `text` of at most `bytes` bytes that ends on a whole letter (UTF-8), as
// names are cut for the files that keep them.
std::string cutOnLetter(const std::string& text, size_t bytes);

class SoundLibrary {
public:
    SoundLibrary() = default;
    ~SoundLibrary();
    SoundLibrary(const SoundLibrary&) = delete;
    SoundLibrary& operator=(const SoundLibrary&) = delete;

    // Appends a pooled sound, counting this library as one of its users.
    int add(Sound* sound, std::string name);
    // Where the library holds a pooled sound, adding it under `name` when it is not held yet.
    int hold(Sound* sound, std::string name);
    void remove(int index);
    void clear();

    int count() const { return int(sounds_.size()); }
    Sound* sound(int index) const { return sounds_[size_t(index)]; }
    int indexOf(const Sound* sound) const;
    const std::string& name(int index) const { return names_[size_t(index)]; }
    void setName(int index, std::string name) { names_[size_t(index)] = std::move(name); }

    bool selected(int index) const { return selected_[size_t(index)] != 0; }
    void setSelected(int index, bool on) { selected_[size_t(index)] = on ? 1 : 0; }
    // The first selected sound at or after `from`, or -1.
    int nextSelected(int from) const;
    void selectAll(bool on);

    // Whether `data` holds a sound chunk set.
    static bool isChunkSet(ByteSpan data);
    // Appends the sounds of a chunk set that this library does not hold yet, and names them.
    // Returns, for each sound of the set in order, where this library holds it. Throws
    // ArchiveError on a chunk set that does not hold together.
    std::vector<int> readChunkSet(ByteSpan data);
    // Writes the chunk set of the sounds `indices` lists (in that order); returns its length, and
    // writes only when `out` is given. Nothing at all when the list is empty.
    size_t writeChunkSet(ByteWriter* out, const std::vector<int>& indices) const;
    size_t writeChunkSet(ByteWriter* out, bool selectedOnly) const;

private:
    std::vector<Sound*> sounds_;
    std::vector<uint8_t> selected_;
    std::vector<std::string> names_;
};

} // namespace celvane
