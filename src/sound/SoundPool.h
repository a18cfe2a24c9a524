#pragma once
// Every sound the program holds lives once in the pool: reading, recording, loading or pasting a
// sound equal to one already held gives the held one. Frame sound tables and sound libraries count
// their uses; the pool lets a sound go when its last user releases it.

#include <memory>
#include <vector>

#include "sound/Sound.h"

namespace celvane {

class SoundPool {
public:
    static SoundPool& shared();

    // The pooled sound equal to `sound` (which is then dropped), or `sound` itself, now pooled.
    // The use count is not changed.
    Sound* add(std::unique_ptr<Sound> sound);
    // A list now holds the sound.
    static void take(Sound& sound) { ++sound.useCount_; }
    // A list no longer holds the sound; the last release lets it go. Sounds not pooled are left.
    void release(Sound* sound);

    size_t size() const { return sounds_.size(); }
    bool contains(const Sound* sound) const;

private:
    std::vector<std::unique_ptr<Sound>> sounds_;
};

} // namespace celvane
