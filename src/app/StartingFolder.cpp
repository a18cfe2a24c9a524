#include "app/StartingFolder.h"

#include <QDir>
#include <filesystem>

#include "base/Settings.h"

namespace celvane::StartingFolder {

namespace {
const char* kSection = "Settings";
const char* kLastFolder = "LastFolder";

bool isFolder(const std::filesystem::path& p)
{
    std::error_code error;
    return !p.empty() && std::filesystem::is_directory(p, error);
}
} // namespace

std::string forFilm(const std::string& filmPath)
{
    if (const auto folder = std::filesystem::path(filmPath).parent_path(); isFolder(folder))
        return folder.string();
    if (const std::string last = Settings::instance().getString(kSection, kLastFolder, ""); isFolder(last))
        return last;
    return QDir::homePath().toStdString();
}

void remember(const std::string& chosenPath)
{
    if (const auto folder = std::filesystem::path(chosenPath).parent_path(); isFolder(folder))
        Settings::instance().writeString(kSection, kLastFolder, folder.string());
}

} // namespace celvane::StartingFolder
