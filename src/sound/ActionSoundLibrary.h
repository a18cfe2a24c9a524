#pragma once
// The program's own feedback sounds ("Zoom in", "Pencilling", "Undo", ...): one sound library in
// the action sounds folder, each sound named after the action it answers, played while the sound
// effects switch is on.

#include <string>

#include "sound/SoundLibrary.h"

namespace celvane {

class ActionSoundLibrary {
public:
    // Loads "data" (".slb", no extension or ".wav") from the folder; false when there is none.
    // Throws what reading the file throws.
    bool load(const std::string& folder);
    void clear() { library_.clear(); }
    const SoundLibrary& library() const { return library_; }

    // Plays the sound named `name` (letters matched whatever their case). Unless `force`, nothing
    // happens while a sound is playing. A `followOn` sound then loops until stopped.
    void play(const std::string& name, bool force = false, const std::string& followOn = {}) const;

private:
    const Sound* find(const std::string& name) const;

    SoundLibrary library_;
};

} // namespace celvane
