#pragma once
// Help for the person at the keyboard: the illustrated guide shipped in the program's data
// folder, opened in the desktop's browser, and the About box.

#include <QString>
#include <filesystem>

class QWidget;

namespace celvane::Help {

// The data folder: share/celvane beside the folder of the executable, so that the build folder
// and an installed copy both find theirs.
std::filesystem::path dataFolder();
std::filesystem::path guidePage();
// Opens the guide; a guide that is missing is reported as a missing resource.
void openGuide();
// Name, version, licence and the libraries used, as the About box shows them.
QString aboutText();
void showAbout(QWidget* parent);

} // namespace celvane::Help
