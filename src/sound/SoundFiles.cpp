#include "sound/SoundFiles.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/Chunks.h"
#include "base/Errors.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "sound/SoundPool.h"
#include "sound/WaveFile.h"

namespace celvane {

namespace {

constexpr uint32_t kFilm = makeTag("ACEF"), kFilmSounds = makeTag("SOUN");
constexpr size_t kNameLetters = 8;

bool isWave(ByteSpan data) { return data.size() >= 12 && loadLE32(&data[0]) == makeTag("RIFF") && loadLE32(&data[8]) == makeTag("WAVE"); }

// A file name from a sound's name: no folders, nothing hidden.
std::string fileStem(const std::string& name)
{
    std::string stem = cutOnLetter(name, kNameLetters);
    for (char& c : stem)
        if (c == '/' || c == '\\' || c == '\0')
            c = '_';
    return stem.empty() || stem[0] == '.' ? "Sound" + stem : stem;
}

} // namespace

void loadSoundFile(SoundLibrary& library, const std::string& path)
{
    const std::filesystem::path file(path);
    const std::vector<int> held = loadSounds(library, readFile(path), file.stem().string());
    // Said once for the file, not each time one of its sounds is asked to play.
    if (std::any_of(held.begin(), held.end(), [&](int i) { return !library.sound(i)->playable(); }))
        Reporter::message(formatMessage(IDS_SOUND_NOT_PLAYABLE, {file.filename().string()}), MessageButtons::Ok,
                          MessageIcon::Warning);
}

std::vector<int> loadSounds(SoundLibrary& library, ByteSpan data, const std::string& name)
{
    if (isWave(data)) {
        auto sound = readWave(data);
        sound->checkPlayability();
        return {library.hold(SoundPool::shared().add(std::move(sound)), name)};
    }
    const ChunkSequence chunks(data);
    if (!chunks.chunks().empty() && chunks.chunks().front().tag == kFilm) {
        const Chunk* sounds = chunks.find(kFilmSounds);
        return sounds ? library.readChunkSet(sounds->payload) : std::vector<int>{};
    }
    if (!SoundLibrary::isChunkSet(data))
        throw NotSupportedError(name + " holds no sounds", IDS_CANNOT_LOAD_TYPE);
    return library.readChunkSet(data);
}

bool loadFolderSounds(SoundLibrary& library, const std::string& folder)
{
    for (const char* extension : {".slb", "", ".wav"}) {
        const std::filesystem::path file = std::filesystem::path(folder) / (std::string("data") + extension);
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) {
            loadSoundFile(library, file.string());
            return true;
        }
    }
    return false;
}

void saveSoundLibrary(const SoundLibrary& library, bool selectedOnly, const std::string& path)
{
    Bytes data;
    ByteWriter w(&data);
    library.writeChunkSet(&w, selectedOnly);
    writeFileAtomically(path, data);
}

std::vector<std::string> saveSoundsAsWaves(const SoundLibrary& library, const std::vector<int>& indices,
                                           const std::string& path)
{
    std::vector<std::string> written;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::set<std::string> taken;
    for (const int i : indices) {
        std::string target = path;
        if (!written.empty()) {
            // Neither two names alike in their first letters nor a file already in the folder
            // is overwritten: the sound takes the next free name.
            const std::string stem = fileStem(library.name(i));
            target = (folder / (stem + ".wav")).string();
            for (int n = 2; taken.count(target) || std::filesystem::exists(target); ++n)
                target = (folder / (stem + " " + std::to_string(n) + ".wav")).string();
        }
        Bytes wave;
        ByteWriter w(&wave);
        library.sound(i)->writeWave(&w);
        writeFileAtomically(target, wave);
        taken.insert(target);
        written.push_back(target);
    }
    return written;
}

} // namespace celvane
