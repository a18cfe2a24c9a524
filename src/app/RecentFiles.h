#pragma once
// The most recently used files, newest first, kept in the settings file: written as each file
// is opened or saved, so that a program that dies keeps them too.

#include <string>
#include <vector>

namespace celvane {

class Settings;

class RecentFiles {
public:
    static constexpr int kEntries = 4;

    // Reads the list, and writes each change to it from now on into `settings`.
    void load(Settings& settings);
    // Puts a path first (once).
    void add(std::string path);
    void remove(std::string path);
    const std::vector<std::string>& paths() const { return paths_; }

private:
    void save() const;

    Settings* settings_ = nullptr;
    std::vector<std::string> paths_;
};

// A film window's title: the document title, ":n" when the document has more than one window,
// " *" when modified.
std::string filmWindowTitle(const std::string& documentTitle, int windowNumber, int windowCount, bool modified);
// The frame window's title: the active film window's title, " - " and the program's name; the
// name alone when no film is open.
std::string frameTitle(const std::string& filmWindowTitle, const std::string& appTitle);

} // namespace celvane
