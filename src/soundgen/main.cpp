// celvane-sounds FOLDER: makes the sounds the program ships, at build time, into the data folder:
// FOLDER/Sounds/data.slb (the sound picker's default library) and FOLDER/Sounds/Actions/data.slb
// (the action sounds).

#include <cstdio>
#include <filesystem>

#include "base/Errors.h"
#include "sound/SoundFiles.h"
#include "sound/SoundLibrary.h"
#include "sound/SoundPool.h"
#include "sound/SoundSynth.h"

using namespace celvane;

namespace {

void writeLibrary(const std::filesystem::path& file, const std::vector<std::string>& names)
{
    SoundLibrary library;
    for (const std::string& name : names)
        library.add(SoundPool::shared().add(synthesizeSound(name)), name);
    std::filesystem::create_directories(file.parent_path());
    saveSoundLibrary(library, false, file.string());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: celvane-sounds FOLDER\n", stderr);
        return 2;
    }
    try {
        const std::filesystem::path sounds = std::filesystem::path(argv[1]) / "Sounds";
        writeLibrary(sounds / "data.slb", pickerSoundNames());
        writeLibrary(sounds / "Actions" / "data.slb", actionSoundNames());
    } catch (const Error& e) {
        std::fprintf(stderr, "celvane-sounds: %s\n", e.what());
        return 1;
    }
    return 0;
}
