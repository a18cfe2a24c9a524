#pragma once
// Named integer and string values in sections of one hand-editable INI file. Section and
// value names are compared without regard to case; a missing value yields the caller's
// default; writing creates the section and the value. Comments, blank lines and the layout of
// a hand-edited file survive a write.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace celvane {

class Settings {
public:
    explicit Settings(std::filesystem::path path);

    // The program's settings: $CELVANE_SETTINGS, else celvane.ini in the XDG config folder.
    static Settings& instance();
    // Settings of no file: every value reads as its default.
    static const Settings& defaults();
    // Points the program's settings at another file (tests, each with a file of its own).
    static void useFile(const std::filesystem::path& path);
    static std::filesystem::path defaultPath();

    const std::filesystem::path& path() const { return path_; }

    // A whole number within [min, max]. A value that is missing, does not start with a number or
    // lies outside the range reads as the default: a hand-edited file cannot give the program
    // values its own dialogs would refuse.
    int getInt(const std::string& section, const std::string& name, int defaultValue, int min, int max) const;
    // A switch: any number, non-zero for on; anything else reads as the default.
    bool getFlag(const std::string& section, const std::string& name, bool defaultValue) const;
    // The pointer movement, in pixels, that makes a press a drag ("windows"/"DragMinDist").
    int dragMinDistance() const;
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) const;
    // Writes return false when the file could not be written; the value is kept in memory.
    bool writeInt(const std::string& section, const std::string& name, int value);
    bool writeString(const std::string& section, const std::string& name, const std::string& value);

private:
    // The file as lines; reloaded when the file changes on disk underneath us.
    void refresh() const;
    std::optional<std::string> lookup(const std::string& section, const std::string& name) const;
    // Index of the line holding the value, or -1; `sectionEnd` receives the line after the
    // section's last value (or -1 when the section is missing).
    int findValue(const std::string& section, const std::string& name, int* sectionEnd) const;
    bool save() const;

    std::filesystem::path path_;
    mutable std::vector<std::string> lines_;
    mutable std::filesystem::file_time_type loadedTime_{};
    mutable bool loaded_ = false;
};

} // namespace celvane
