#pragma once
// The stamps a folder starts with, in its "data" file (a stamp file, or any picture file the
// program reads, by extension), and the pictures of its links, in its "icons" file.

#include <memory>
#include <string>

#include "stamps/StampSet.h"

namespace celvane {

class Settings;

// The folder's stamps; null when the folder has no stamp file. Failures of a file that cannot
// be read are the list's.
std::unique_ptr<StampSet> loadStampSet(const std::string& folder, const Settings& settings);
// The folder's link pictures; null when the folder has no icons file. Failures as above.
std::unique_ptr<StampSet> loadFolderIcons(const std::string& folder, const Settings& settings);
// Writes the set as the folder's "data.stp", replacing any earlier one whole.
void saveStampSet(StampSet& stamps, const std::string& folder);

} // namespace celvane
