#pragma once
// Stamps saved for other programs or other folders: every stamp or the selected ones, as one
// stamp file, as one GIF (animated when there are several stamps), or as one bitmap or
// metafile a stamp.

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace celvane {

class Film;
class StampSet;

struct StampExportKind {
    const char* name;      // as the export dialog lists it
    const char* extension; // with its dot
    int fileType;
};

// In the order the export dialog lists them.
std::span<const StampExportKind> stampExportKinds();

// Writes the stamps at `path` as `fileType` (one of stampExportKinds()). Bitmaps and metafiles
// go one stamp a file: the first into `path`, the others into numbered files beside it.
void exportStamps(StampSet& stamps, const std::string& path, int fileType, bool selectionOnly);

// The stamps as the frames of a film as large as the largest of them, each centred on white
// paper: what the GIF writer takes.
std::unique_ptr<Film> stampsAsFilm(StampSet& stamps, const std::vector<int>& which);

} // namespace celvane
