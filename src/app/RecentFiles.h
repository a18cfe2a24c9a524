#pragma once
// The most recently used files, newest first, kept in the settings file.

#include <string>
#include <vector>

namespace celvane {

class Settings;

class RecentFiles {
public:
    static constexpr int kEntries = 4;

    void load(const Settings& settings);
    void save(Settings& settings) const;
    // Puts a path first (once).
    void add(std::string path);
    void remove(std::string path);
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

// The frame window's title: the document title, ":n" when the document has more than one
// window, " *" when modified, then " - " and the program's name.
std::string frameTitle(const std::string& documentTitle, int windowNumber, int windowCount, bool modified,
                       const std::string& appTitle);

} // namespace celvane
