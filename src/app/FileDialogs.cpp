#include "app/FileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <filesystem>

#include "base/Reporter.h"
#include "base/StringTable.h"

namespace celvane {

namespace {
class QtFileChooser : public FileChooser {
public:
    std::optional<std::string> openFile(const std::string& title, const std::string& filters,
                                        const std::string& folder) override
    {
        const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                                          QString::fromStdString(folder),
                                                          QString::fromStdString(filters));
        return path.isEmpty() ? std::nullopt : std::optional(path.toStdString());
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filters,
                                        const std::string& suggested) override
    {
        const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                                          QString::fromStdString(suggested),
                                                          QString::fromStdString(filters));
        return path.isEmpty() ? std::nullopt : std::optional(path.toStdString());
    }
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override
    {
        const QString path = QFileDialog::getExistingDirectory(QApplication::activeWindow(), QString::fromStdString(title),
                                                               QString::fromStdString(start));
        return path.isEmpty() ? std::nullopt : std::optional(path.toStdString());
    }
};

QtFileChooser qtChooser;
FileChooser* current = &qtChooser;
} // namespace

FileChooser& FileDialogs::chooser() { return *current; }
void FileDialogs::setChooser(FileChooser* chooser) { current = chooser ? chooser : &qtChooser; }

bool FileDialogs::mayReplace(const std::string& path)
{
    return !std::filesystem::exists(path)
        || Reporter::message(formatMessage(IDS_REPLACE_FILE, {std::filesystem::path(path).filename().string()}),
                             MessageButtons::YesNo, MessageIcon::Warning)
               == MessageAnswer::Yes;
}

} // namespace celvane
