#pragma once
// The folder of what ships with the program (default stamps, sounds), beside the executable's
// folder: the build folder and an installed copy both work.

#include <filesystem>

namespace celvane {

std::filesystem::path dataFolder();

} // namespace celvane
