#pragma once
// Export: a film, or its marked frames, written in another format, chosen from a list or by the
// name's extension. Whatever fails or is cancelled leaves no file under the chosen names.

#include <optional>
#include <span>
#include <string>

#include "export/FlicWriter.h"

namespace celvane {

class CCelvaneDoc;

enum class ExportKind { Gif, Bitmaps, Palette, SoundLibrary, Film, Avi, Flic, Mp4, Pngs };

struct ExportKindInfo {
    ExportKind kind;
    const char* name;      // as the export dialog lists it
    const char* extension; // with its dot
};

// In the order the export dialog lists them.
std::span<const ExportKindInfo> exportKinds();
// The kind a file name asks for (".flc" and ".fli" are FLIC), or none.
std::optional<ExportKind> exportKindForPath(const std::string& path);

// Writes the document's film at `path` (the extension is added when the name has none) and
// returns the path written first. Bitmap and PNG series write one file per frame, the later
// ones named by NumberedNames. With `selectionOnly` only the marked frames are written (an
// AVI file always holds the whole film).
std::string exportFilm(CCelvaneDoc& doc, std::string path, ExportKind kind, bool selectionOnly,
                       const ExportProgress& progress = {});

} // namespace celvane
