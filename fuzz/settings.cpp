// A hand-edited settings file read, and values written into it.
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "FuzzSupport.h"
#include "base/Settings.h"

using namespace celvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One scratch file per process, gone when the process ends; in memory where the system has
    // such a folder, because every write is made safe on disk.
    static const struct Scratch {
        std::filesystem::path path = (std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                                 : std::filesystem::temp_directory_path())
                                   / ("celvane-fuzz-settings-" + std::to_string(getpid()) + ".ini");
        ~Scratch() { std::filesystem::remove(path); }
    } scratch;
    const std::filesystem::path& file = scratch.path;
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    Settings settings(file);
    settings.getInt("Choices", "UndoSteps", 100, 1, 1000);
    settings.getFlag("Choices", "FilmSounds", true);
    settings.getString("File Types", "QFM", "");
    settings.dragMinDistance();
    const bool written = settings.writeInt("Choices", "UndoSteps", 7);
    settings.writeString("New section", "Name", "value");
    if (written && settings.getInt("Choices", "UndoSteps", 0, 0, 1000) != 7)
        std::abort(); // a value written does not read back
    return 0;
}
