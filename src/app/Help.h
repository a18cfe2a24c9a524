#pragma once
// Help for the person at the keyboard: the illustrated guide shipped in the program's data
// folder, opened in the desktop's browser, and the About box.

#include <QString>
#include <filesystem>

class QWidget;

namespace celvane::Help {

// The guide's first page, in the data folder.
std::filesystem::path guidePage();
// Opens the guide; a guide that is missing is reported as a missing resource.
void openGuide();
// Name, version, licence and the libraries used, as the About box shows them.
QString aboutText();
void showAbout(QWidget* parent);

} // namespace celvane::Help
