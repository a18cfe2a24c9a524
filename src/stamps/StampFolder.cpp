#include "stamps/StampFolder.h"

#include <filesystem>

#include "film/FileType.h"

namespace celvane {

namespace {
std::string inFolder(const std::string& folder, const char* name)
{
    return (std::filesystem::path(folder) / name).string();
}

std::unique_ptr<StampSet> loadPictures(const std::string& folder, const char* name, int type, const Settings& settings)
{
    const auto file = findFileWithDefaultExtensions(inFolder(folder, name), type, settings);
    if (!file)
        return nullptr;
    auto stamps = std::make_unique<StampSet>();
    stamps->add(file->type, readFile(file->path));
    return stamps;
}
} // namespace

std::unique_ptr<StampSet> loadStampSet(const std::string& folder, const Settings& settings)
{
    return loadPictures(folder, "data", FileType::StampFile, settings);
}

std::unique_ptr<StampSet> loadFolderIcons(const std::string& folder, const Settings& settings)
{
    return loadPictures(folder, "icons", FileType::RiscOsSprite, settings);
}

void saveStampSet(StampSet& stamps, const std::string& folder)
{
    Bytes data;
    ByteWriter out(&data);
    stamps.save(&out, false);
    writeFileAtomically(inFolder(folder, "data.stp"), data);
}

} // namespace celvane
