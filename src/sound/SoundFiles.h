#pragma once
// Sounds to and from files: a sound library, the sounds of a film file, or one wave file; and
// sounds written out as wave files.

#include <string>
#include <vector>

#include "sound/SoundLibrary.h"

namespace celvane {

// Adds the sounds of a file to `library`, by what the file holds: a sound library, a film's
// sounds, or one wave file (named after the file). Throws NotSupportedError for other files. A
// file with sounds that cannot be played is loaded with a warning naming it.
void loadSoundFile(SoundLibrary& library, const std::string& path);
// The same for a file's bytes, without the warning; a wave file's sound is called `name`.
// Returns where the library holds each of the file's sounds.
std::vector<int> loadSounds(SoundLibrary& library, ByteSpan data, const std::string& name);

// Adds the sounds of a folder's "data" file (".slb", no extension, or ".wav"); false when the
// folder has none.
bool loadFolderSounds(SoundLibrary& library, const std::string& folder);

// Writes a sound-library file of all the sounds, or of the selected ones. Throws FileError.
void saveSoundLibrary(const SoundLibrary& library, bool selectedOnly, const std::string& path);

// Writes the sounds `indices` lists as wave files: the first one to `path`, each further one
// beside it, named after the first eight letters of its name, or numbered after them where that
// file exists. Returns the files written.
std::vector<std::string> saveSoundsAsWaves(const SoundLibrary& library, const std::vector<int>& indices,
                                           const std::string& path);

} // namespace celvane
