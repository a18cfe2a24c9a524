// celvane-tool and sounds: sound libraries and wave files converted both ways, the sounds of a
// library or film described, and a sound put on a frame of a film from a script.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "base/Errors.h"
#include "base/Settings.h"
#include "cli/Commands.h"
#include "film/CelvaneDoc.h"
#include "film/Film.h"
#include "film/FrameSound.h"
#include "sound/SoundFiles.h"
#include "sound/SoundPool.h"
#include "sound/WaveFile.h"

namespace celvane::cli {

namespace {

std::string extensionOf(const std::string& path)
{
    std::string e = std::filesystem::path(path).extension().string();
    std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return e;
}

bool isSoundPath(const std::string& path) { return extensionOf(path) == ".wav" || extensionOf(path) == ".slb"; }

std::vector<int> everySound(const SoundLibrary& library)
{
    std::vector<int> all(size_t(library.count()));
    for (int i = 0; i < library.count(); ++i)
        all[size_t(i)] = i;
    return all;
}

} // namespace

std::string soundsJson(const SoundLibrary& library)
{
    std::ostringstream o;
    o << "[";
    for (int i = 0; i < library.count(); ++i) {
        const Sound& s = *library.sound(i);
        o << (i ? "," : "") << "{\"name\":" << jsonString(library.name(i)) << ",\"code\":" << s.storedCode()
          << ",\"rate\":" << s.rate() << ",\"channels\":" << ((s.playCode() & 1) && s.playCode() < 4 ? 2 : 1)
          << ",\"samples\":" << s.sampleCount() << "}";
    }
    o << "]";
    return o.str();
}

std::string frameSoundsJson(const Film& film)
{
    std::ostringstream o;
    o << "[";
    for (int f = 0; f < film.frameCount(); ++f) {
        o << (f ? "," : "") << "[";
        FrameSoundEntry entry;
        for (int k = 0; film.soundEntry(f, k, entry); ++k) {
            const int number = int(entry.words[0] & FilmSoundTable::kSoundNumber);
            const int rate = number < film.soundLibrary().count() ? film.soundLibrary().sound(number)->rate() : 0;
            FrameSound s;
            o << (k ? "," : "");
            if (FrameSound::read(entry, rate, s))
                o << "{\"sound\":" << s.sound << ",\"pan\":" << s.pan << ",\"volume\":" << s.volume << ",\"pitch\":" << s.pitch
                  << ",\"duration\":" << s.duration << ",\"frames\":" << (s.inFrames ? "true" : "false") << "}";
            else
                o << "{\"played\":false}";
        }
        o << "]";
    }
    o << "]";
    return o.str();
}

bool describeSounds(const std::string& path, bool json)
{
    if (!isSoundPath(path))
        return false;
    SoundLibrary library;
    loadSoundFile(library, path);
    if (json) {
        std::printf("{\"sounds\":%s}\n", soundsJson(library).c_str());
        return true;
    }
    for (int i = 0; i < library.count(); ++i) {
        const Sound& s = *library.sound(i);
        std::printf("%d: %s, code %d, %d Hz, %d samples\n", i, library.name(i).c_str(), s.storedCode(), s.rate(),
                    s.sampleCount());
    }
    return true;
}

bool convertSounds(const std::string& in, const std::string& out)
{
    // Libraries and waves both ways, and a film's sounds out as waves.
    if (!isSoundPath(out) || (!isSoundPath(in) && extensionOf(out) != ".wav"))
        return false;
    SoundLibrary library;
    loadSoundFile(library, in);
    if (library.count() == 0)
        throw NotSupportedError(in + " holds no sounds");
    if (extensionOf(out) == ".wav") {
        saveSoundsAsWaves(library, everySound(library), out);
        return true;
    }
    saveSoundLibrary(library, false, out);
    return true;
}

int sound(const std::vector<std::string>& args)
{
    std::vector<std::string> rest;
    std::string output;
    int pitch = 0, loops = 1, left = 127, right = 127;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "-o" && hasValue) {
            output = args[++i];
        } else if (a == "--pitch" && hasValue) {
            pitch = toInt(args[++i], "--pitch");
        } else if (a == "--loops" && hasValue) {
            loops = toInt(args[++i], "--loops");
        } else if (a == "--volume" && hasValue) {
            const std::string levels = args[++i];
            const size_t comma = levels.find(',');
            if (comma == std::string::npos)
                throw UsageError("--volume needs LEFT,RIGHT");
            left = toInt(levels.substr(0, comma), "LEFT");
            right = toInt(levels.substr(comma + 1), "RIGHT");
        } else {
            rest.push_back(a);
        }
    }
    if (rest.size() != 3 || output.empty())
        throw UsageError("sound needs FILM FRAME SOUND.wav -o OUT.qfm");
    if (pitch < -36 || pitch > 36 || loops < 1 || loops > 1000 || left < 0 || left > 127 || right < 0 || right > 127)
        throw UsageError("--pitch is -36 to 36, --loops 1 to 1000, --volume levels 0 to 127");

    CCelvaneDoc doc(Settings::instance());
    doc.open(rest[0]);
    Film& film = filmOf(doc);
    const int frame = toInt(rest[1], "FRAME");
    if (frame < 0 || frame >= film.frameCount())
        throw UsageError("the film has frames 0 to " + std::to_string(film.frameCount() - 1));
    auto wave = readWaveFile(rest[2]);
    wave->checkPlayability();
    Sound* pooled = SoundPool::shared().add(std::move(wave));

    // Two levels as a volume and a pan: the louder side sets how far the sound leans.
    FrameSound settings;
    settings.volume = (left + right) / 2;
    settings.pan = left + right == 0 ? 0 : int(std::lround(127.0 * (right - left) / (left + right)));
    settings.pitch = pitch;
    if (loops > 1) {
        const double seconds = double(pooled->sampleCount()) / std::max(1.0, pooled->rate() * std::exp2(pitch / 12.0));
        settings.duration = std::max(1, int(std::lround(loops * seconds * 20)));
        if (settings.duration == FrameSound::kWhole)
            ++settings.duration;
    }
    film.addFrameSound(frame, pooled, std::filesystem::path(rest[2]).stem().string(), settings);
    film.setModified(true);
    doc.save(output);
    return 0;
}

} // namespace celvane::cli
