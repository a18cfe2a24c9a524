#pragma once
// Where the file dialogs start: in the folder of the film being worked on, else in the folder a
// dialog last chose from (kept between runs), else in the home folder.

#include <string>

namespace celvane::StartingFolder {

std::string forFilm(const std::string& filmPath);
// A file was chosen or written: its folder is where the next dialog starts.
void remember(const std::string& chosenPath);

} // namespace celvane::StartingFolder
