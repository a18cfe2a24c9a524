#include "app/RecentFiles.h"

#include <algorithm>

#include "base/Settings.h"

namespace celvane {

namespace {
const char* kSection = "Recent File List";
std::string entryName(int i) { return "File" + std::to_string(i + 1); }
} // namespace

void RecentFiles::load(Settings& settings)
{
    settings_ = &settings;
    paths_.clear();
    for (int i = 0; i < kEntries; ++i) {
        const std::string path = settings.getString(kSection, entryName(i), "");
        if (!path.empty())
            paths_.push_back(path);
    }
}

void RecentFiles::save() const
{
    if (!settings_)
        return;
    for (int i = 0; i < kEntries; ++i)
        settings_->writeString(kSection, entryName(i), i < int(paths_.size()) ? paths_[size_t(i)] : "");
}

void RecentFiles::add(std::string path)
{
    remove(path);
    paths_.insert(paths_.begin(), std::move(path));
    if (paths_.size() > size_t(kEntries))
        paths_.resize(kEntries);
    save();
}

void RecentFiles::remove(std::string path)
{
    if (std::erase(paths_, path) > 0)
        save();
}

std::string filmWindowTitle(const std::string& documentTitle, int windowNumber, int windowCount, bool modified)
{
    std::string title = documentTitle;
    if (windowCount > 1) {
        title += ':';
        title += std::to_string(windowNumber);
    }
    if (modified)
        title += " *";
    return title;
}

std::string frameTitle(const std::string& filmWindowTitle, const std::string& appTitle)
{
    return filmWindowTitle.empty() ? appTitle : filmWindowTitle + " - " + appTitle;
}

} // namespace celvane
