#pragma once
// Choosing files to open and names to save under. The program asks through here so that tests
// can answer instead of a person.

#include <optional>
#include <string>

namespace celvane {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> openFile(const std::string& title, const std::string& filters,
                                                const std::string& folder) = 0;
    virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filters,
                                                const std::string& suggested) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) = 0;
};

class FileDialogs {
public:
    // The chooser in use; by default Qt's file dialogs.
    static FileChooser& chooser();
    static void setChooser(FileChooser* chooser);
    // True when nothing is at the path, or the user agreed to replace what is there.
    static bool mayReplace(const std::string& path);
};

} // namespace celvane
