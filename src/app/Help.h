#pragma once
// Help for the person at the keyboard: the illustrated guide shipped in the program's data
// folder, shown in the program's own help window, and the About box.

#include <QString>
#include <filesystem>
#include <span>

class QWidget;

namespace celvane::Help {

// A page of the guide: its file is `page`.html in the guide's folder.
struct Topic {
    const char* page;
    const char* title;
};
// The pages in the order of the guide's contents, which is the page "index".
std::span<const Topic> topics();

std::filesystem::path guideFolder();
std::filesystem::path guidePage(const QString& page = "index");
// The page about a window (a dialog, a picker, a tool panel); empty for windows without one.
QString pageFor(const QWidget* window);
// Shows a page of the guide in the help window beside the main window, or inside the dialog
// waiting for an answer if there is one; a guide that is missing is reported as a missing
// resource.
void openGuide(QWidget* mainWindow, const QString& page = "index");
// From now on, as long as `mainWindow` lives, F1 in a dialog, picker or tool panel opens that
// window's page (the main window's own F1 is Help > Contents).
void answerF1(QWidget& mainWindow);

// Name, version, licence and the libraries used, as the About box shows them.
QString aboutText();
void showAbout(QWidget* parent);

} // namespace celvane::Help
