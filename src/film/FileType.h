#pragma once
// File kinds by number (the RISC OS file type where one exists), and how a path's kind is
// decided: forced by the "File Types" settings, by extension, or by the file's first bytes.

#include <optional>
#include <string>

namespace celvane {

class Settings;

namespace FileType {
enum : int {
    Film = 3114,
    StampFile = 2996,
    SoundLibrary = 3143,
    RiscOsSprite = 4089,
    Wave = 4017,
    Drawfile = 2815,
    Metafile = 259,
    EnhancedMetafile = 256,
    Bitmap = 1692,
    // Bitmaps inside stamp files: with a transparent colour, and with a 1-bit mask after them.
    TransparentBitmap = 257,
    MaskedBitmap = 258,
    Text = 4095,
    PaletteFile = 261,
    Flic = 2975,
    Avi = 260,
    Gif = 262,
    BareFilmBlock = 3434,
    Png = 2912,
    Jpeg = 3205,
    None = 0x20000, // a graphic not loaded from any kind of file
};
} // namespace FileType

// The type of the file at `path`, or `defaultType` when nothing decides it. Reads at most the
// first 12 bytes of the file.
int fileTypeOfPath(const std::string& path, int defaultType, const Settings& settings);

// The program's own data files ("data" in a picker folder, the action sounds) may carry any of
// several extensions: the first of base + each extension the kind allows that exists, with its
// type; nothing when none exists.
struct FoundFile {
    std::string path;
    int type;
};
std::optional<FoundFile> findFileWithDefaultExtensions(const std::string& base, int type, const Settings& settings);

} // namespace celvane
