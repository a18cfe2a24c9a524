#pragma once
// The program's own texts, looked up by id. Ids stay numeric so that messages can be named
// in the same way everywhere (reporter, batch tool, tests).

#include <string>

namespace celvane {

enum StringId : int {
    IDS_STAMP_PICKER = 192,
    IDS_UNTITLED = 256,
    IDS_SCREEN = 257,
    IDS_DEPTH_2 = 259,
    IDS_DEPTH_16 = 260,
    IDS_DEPTH_256 = 261,
    IDS_DEPTH_THOUSANDS = 262,
    IDS_DEPTH_MILLIONS = 263,
    IDS_OUT_OF_MEMORY = 2054,
    IDS_NOT_SUPPORTED = 2055,
    IDS_ARCHIVE_ERROR = 2056,
    IDS_FILE_ERROR = 2057,
    IDS_RESOURCE_ERROR = 2058,
    IDS_INTERNAL_ERROR = 2059,
    IDS_ACTION_SOUNDS_MISSING = 2060,
    IDS_PALETTE_NOT_UNDERSTOOD = 2062,
    IDS_PALETTE_INCOMPATIBLE = 2063,
    IDS_CANNOT_LOAD_TYPE = 2064,
    IDS_STAMPS_OMITTED = 2065,
    IDS_PRINTER_PAPER = 2066,
    IDS_STAMPS_NOT_FOUND = 2068,
    IDS_CANNOT_EXPORT_FORMAT = 2078,
    IDS_CANNOT_LOAD_METAFILE = 2080,
    // Texts that have no number of their own in the message table.
    IDS_FORMAT_NOT_UNDERSTOOD = 3000,
    IDS_SAVE_CHANGES = 3001,
    IDS_NO_DISPLAY = 3002,
    IDS_REPLACE_FILE = 3004,
    IDS_NOT_A_FILM = 3005,
    IDS_NO_SOUNDS_TO_SAVE = 3020,
    IDS_SOUND_NOT_PLAYABLE = 3021,
    // The Delete Frame questions when Undo brings the frames back.
    IDS_DELETE_CURRENT_FRAME_UNDOABLE = 3022,
    IDS_DELETE_SELECTED_FRAMES_UNDOABLE = 3023,
    IDS_FILM_END_DAMAGED = 3024,
    IDS_DELETE_CURRENT_FRAME = 32800,
    IDS_DELETE_SELECTED_FRAMES = 32801,
    IDS_FAILED_TO_OPEN = 61697,
    IDS_PARSE_INT_RANGE = 61715,
};

// The text for an id; an unknown id gives an empty string.
std::string loadString(int id);

// "%1", "%2", ... in a message replaced by the arguments, in order.
std::string formatMessage(int id, std::initializer_list<std::string> args);

} // namespace celvane
