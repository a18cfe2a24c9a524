#include "base/StringTable.h"

#include <unordered_map>

namespace celvane {

namespace {
const std::unordered_map<int, const char*>& table()
{
    static const std::unordered_map<int, const char*> strings = {
        {IDS_STAMP_PICKER, "Stamp Picker"},
        {IDS_UNTITLED, "Untitled"},
        {IDS_SCREEN, "Screen"},
        {IDS_DEPTH_2, "2"},
        {IDS_DEPTH_16, "16"},
        {IDS_DEPTH_256, "256"},
        {IDS_DEPTH_THOUSANDS, "Thousands"},
        {IDS_DEPTH_MILLIONS, "Millions"},
        {IDS_OUT_OF_MEMORY, "Insufficient memory for request"},
        {IDS_NOT_SUPPORTED, "The operation you requested is not available on your computer."},
        {IDS_ARCHIVE_ERROR, "I/O error (archive)"},
        {IDS_FILE_ERROR, "I/O error (file)"},
        {IDS_RESOURCE_ERROR, "Celvane was unable to load one of its resources"},
        {IDS_INTERNAL_ERROR, "Internal error: file may be corrupt"},
        {IDS_ACTION_SOUNDS_MISSING, "Warning: the sound effects could not be found in %1"},
        {IDS_PALETTE_NOT_UNDERSTOOD, "The palette file format was not understood"},
        {IDS_PALETTE_INCOMPATIBLE,
         "This palette file is incompatible with the film (it has %1 entries, while the film has "
         "%2 entries)"},
        {IDS_CANNOT_LOAD_TYPE,
         "Celvane could not load this type of file as a film, a set of stamps, or a sound file"},
        {IDS_STAMPS_OMITTED,
         "Warning: one or more stamps were in a format that could not be understood, so they have been "
         "omitted"},
        {IDS_STAMPS_NOT_FOUND, "Warning: the stamps could not be found in %1"},
        {IDS_PRINTER_PAPER,
         "An error occurred while trying to find out the paper size of the printer.  This could be due "
         "to running out of memory, or the printer may be incorrectly set up."},
        {IDS_CANNOT_EXPORT_FORMAT, "Sorry, you can't export a film in this format."},
        {IDS_CANNOT_LOAD_METAFILE, "Sorry, Celvane cannot load this metafile."},
        {IDS_FORMAT_NOT_UNDERSTOOD,
         "The file format was not understood.  Either it's an unsupported format, or the file is "
         "corrupt."},
        {IDS_SAVE_CHANGES, "Save changes to %1?"},
        {IDS_REPLACE_FILE, "%1 already exists.\nDo you want to replace it?"},
        {IDS_NOT_A_FILM, "Not a film"},
        {IDS_NO_SOUNDS_TO_SAVE, "There are no sounds to save."},
        {IDS_SOUND_NOT_PLAYABLE,
         "Warning: one or more sounds in %1 cannot be played, because Celvane cannot decode the form they are in."},
        {IDS_NO_DISPLAY, "Celvane needs a display and none is set. Run it under xvfb-run -a."},
        {IDS_DELETE_CURRENT_FRAME,
         "The current frame will be deleted permanently, without being copied to the clipboard.  Are you "
         "sure you want to do this?"},
        {IDS_DELETE_SELECTED_FRAMES,
         "The selected frames will be deleted permanently, without being copied to the clipboard.  Are you "
         "sure you want to do this?"},
        {IDS_DELETE_CURRENT_FRAME_UNDOABLE,
         "The current frame will be deleted, without being copied to the clipboard. Undo brings it back.  Do "
         "you want to delete it?"},
        {IDS_DELETE_SELECTED_FRAMES_UNDOABLE,
         "The selected frames will be deleted, without being copied to the clipboard. Undo brings them back.  "
         "Do you want to delete them?"},
        {IDS_FILM_END_DAMAGED,
         "Warning: the end of this film is damaged, so what it held there (such as its sounds) could "
         "not be read. The frames that could be read are shown."},
        {IDS_FAILED_TO_OPEN, "Failed to open document."},
        {IDS_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
    };
    return strings;
}
} // namespace

std::string loadString(int id)
{
    const auto it = table().find(id);
    return it == table().end() ? std::string() : std::string(it->second);
}

std::string formatMessage(int id, std::initializer_list<std::string> args)
{
    const std::string text = loadString(id);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < args.size())
                out += *(args.begin() + n);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace celvane
