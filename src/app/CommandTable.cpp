#include "app/CommandTable.h"

#include <algorithm>

#include "base/CommandIds.h"

namespace celvane {

namespace {

// The symbolic name is spelt once, so the table cannot drift from the enum.
#define CMD(id) id, #id

// A command without menu text is reached by its key or its tool bar button only.
constexpr CommandInfo kCommands[] = {
    // File
    {CMD(ID_FILE_NEW), nullptr, nullptr, "Start a new film at the usual size, straight away",
     "New film", "new"},
    {CMD(ID_FILE_NEW_FILM), "&New\tCtrl+N", nullptr,
     "Start a new film, choosing its size and colours", nullptr, nullptr},
    {CMD(ID_FILE_OPEN), "&Open...\tCtrl+O", nullptr,
     "Open a film, a picture, some stamps or some sounds", "Open", "open"},
    {CMD(ID_FILE_SAVE), "&Save\tCtrl+S", nullptr, "Save the film", "Save", "save"},
    {CMD(ID_FILE_SAVE_AS), "Save &As...", nullptr, "Save the film under a new name", nullptr,
     nullptr},
    {CMD(ID_FILE_IMPORT), "&Import...", nullptr, "Import into the current film", nullptr, nullptr},
    {CMD(ID_FILE_EXPORT), "&Export...", nullptr,
     "Save the film or the selected frames as a GIF, bitmaps, a video or another kind of file",
     nullptr, nullptr},
    {CMD(ID_FILE_SUMMARY), "File Su&mmary...", nullptr,
     "Show the size, colours, frames and file size of the film", nullptr, nullptr},
    {CMD(ID_FILE_PRINT), "&Print...\tCtrl+P", nullptr,
     "Print the film as a sheet of frames or as a flick book", "Print", "print"},
    {CMD(ID_FILE_PRINT_PREVIEW), "Print Pre&view", nullptr,
     "See how the printed pages will look", nullptr, nullptr},
    {CMD(ID_FILE_PRINT_SETUP), "P&rint Setup...", nullptr, "Choose the printer and the paper",
     nullptr, nullptr},
    {CMD(ID_FILE_MRU_FILE1), "&1 Recent File", nullptr, "Open this film again", nullptr, nullptr},
    {CMD(ID_FILE_MRU_FILE2), "&2 Recent File", nullptr, "Open this film again", nullptr, nullptr},
    {CMD(ID_FILE_MRU_FILE3), "&3 Recent File", nullptr, "Open this film again", nullptr, nullptr},
    {CMD(ID_FILE_MRU_FILE4), "&4 Recent File", nullptr, "Open this film again", nullptr, nullptr},
    {CMD(ID_APP_EXIT), "E&xit", nullptr, "Close Celvane, asking to save any changed film",
     nullptr, nullptr},

    // Edit
    {CMD(ID_EDIT_UNDO), "&Undo\tCtrl+Z", "Alt+Backspace", "Undo the last action", "Undo", "undo"},
    {CMD(ID_EDIT_REDO), "&Redo\tCtrl+A", "Ctrl+Shift+Z", "Redo the previously undone action", "Redo",
     "redo"},
    {CMD(ID_EDIT_RESTORE), "R&estore", nullptr, "Undo all changes performed to frame",
     "Restore frame content", nullptr},
    {CMD(ID_EDIT_CUT), "Cu&t\tCtrl+X", nullptr, "Move the selected frames to the clipboard",
     "Cut frame(s)", "cut"},
    {CMD(ID_EDIT_COPY), "&Copy\tCtrl+C", nullptr, "Copy the selected frames to the clipboard",
     "Copy", "copy"},
    {CMD(ID_EDIT_PASTE), "&Paste\tCtrl+V", nullptr,
     "Put the frames or picture on the clipboard into the film", "Paste", "paste"},
    {CMD(ID_FRAME_DELETE), "&Delete\tDel", nullptr,
     "Throw away the selected frames, without copying them to the clipboard", "Delete",
     "delete"},
    {CMD(ID_SELECT_ALL), "Select &All", nullptr, "Select every frame of the film", nullptr,
     nullptr},
    {CMD(ID_CLEAR_SELECTION), "C&lear Selection", nullptr, "Unselect all the frames", nullptr,
     nullptr},
    {CMD(ID_FRAME_MARK), "&Mark", nullptr,
     "Stretch or shrink the selected frames to reach the current frame", nullptr, nullptr},

    // View
    {CMD(ID_VIEW_TOOLBOX), "&Toolbox", nullptr, "Show or hide the toolbox", nullptr, nullptr},
    {CMD(ID_VIEW_PLAY_TOOLS), "&Play", nullptr, "Show or hide the play tools", nullptr, nullptr},
    {CMD(ID_VIEW_PALETTE), "P&alette", nullptr,
     "Show or hide the colour palette, or the sound tools while the sound tool is in use",
     nullptr, nullptr},
    {CMD(ID_VIEW_STATUS_BAR), "Status &Bar", nullptr, "Show or hide the status bar", nullptr,
     nullptr},
    {CMD(ID_VIEW_BLACK_WHITE), "Black && &White", nullptr,
     "Show the tool bar pictures in black and white", nullptr, nullptr},
    {CMD(ID_VIEW_FIT_WINDOW), "&Fit window to film\tF4", nullptr,
     "Make the window just big enough to show the whole frame", nullptr, nullptr},
    {CMD(ID_VIEW_ZOOM), "&Zoom...", nullptr, "Choose how big the frame is shown", nullptr,
     nullptr},
    {CMD(ID_ZOOM_IN), nullptr, "F7", "Make the frame look bigger", "Zoom in", "zoom-in"},
    {CMD(ID_ZOOM_OUT), nullptr, "F8", "Make the frame look smaller", "Zoom out", "zoom-out"},
    {CMD(ID_VIEW_GRID), "G&rid...", nullptr, "Show a grid over the frame and snap to it",
     nullptr, nullptr},
    {CMD(ID_VIEW_CHOICES), "&Choices...", nullptr, "Edit the program choices", nullptr, nullptr},
    {CMD(ID_FILM_SOUNDS), "Fil&m sounds", nullptr, "Turn film sounds on/off", "Film sounds on/off",
     "film-sounds"},
    {CMD(ID_ACTION_SOUNDS), "S&ound effects", nullptr, "Turn sound effects on/off",
     "Sound effects on/off", "action-sounds"},

    // Frames
    {CMD(ID_FRAME_NEW), "&New frame\tIns", nullptr, "Add a new blank frame after the current one",
     "New frame", "frame-new"},
    {CMD(ID_FRAME_DUPLICATE), "&Duplicate frame", nullptr,
     "Add a copy of the current frame after it", "Duplicate frame", "frame-duplicate"},
    {CMD(ID_FRAME_BLANK), "&Blank frame", nullptr, "Clear frame to paper colour", "Blank frame",
     nullptr},
    {CMD(ID_GO_TO_FRAME), "&Go to Frame...\tCtrl+G", nullptr, "Jump to a frame by its number",
     nullptr, nullptr},
    {CMD(ID_FADE_PAUSE), "&Fade / Pause...", nullptr,
     "Choose how the selected frames appear and how long the film waits on them", nullptr,
     nullptr},

    // Motion
    {CMD(ID_PLAY_FORWARDS), "&Forwards\tRight", nullptr, "Play the film forwards",
     "Play forward", "forwards"},
    {CMD(ID_PLAY_BACKWARDS), "&Backwards\tLeft", nullptr, "Play the film backwards",
     "Play backwards", "backwards"},
    {CMD(ID_PLAY_STOP), "&Stop\tSpace", nullptr, "Stop playing the film", "Stop", "stop"},
    {CMD(ID_FILM_STRIP), nullptr, nullptr,
     "Drag to change the current frame, when playing click to stop", "Film strip", nullptr},
    {CMD(ID_PLAY_REWIND), "&Rewind\tCtrl+Home", nullptr, "Go back to the first frame",
     "Film start", "rewind"},
    {CMD(ID_STEP_BACK), "S&tep back a frame\tCtrl+Left", nullptr, "Step back a frame",
     "Step backward", "step-back"},
    {CMD(ID_STEP_FORWARD), "Go f&orward a frame\tCtrl+Right", nullptr, "Go forward a frame",
     "Step forward", "step-forward"},
    {CMD(ID_PLAY_LAST_FRAME), "L&ast frame\tCtrl+End", nullptr, "Go to the last frame",
     "Film end", "last-frame"},
    {CMD(ID_GO_FIRST_MARKED), nullptr, "Home", "Go to the first selected frame", nullptr,
     nullptr},
    {CMD(ID_GO_LAST_MARKED), nullptr, "End", "Go to the last selected frame", nullptr, nullptr},
    {CMD(ID_MARK_STEP_BACK), nullptr, "Shift+Left",
     "Step back a frame, stretching the selection", nullptr, nullptr},
    {CMD(ID_MARK_STEP_FORWARD), nullptr, "Shift+Right",
     "Go forward a frame, stretching the selection", nullptr, nullptr},
    {CMD(ID_MARK_TO_START), nullptr, "Shift+Home",
     "Select from the current frame to the first frame", nullptr, nullptr},
    {CMD(ID_MARK_TO_END), nullptr, "Shift+End", "Select from the current frame to the last frame",
     nullptr, nullptr},
    // Ctrl+L and Ctrl+Y toggle rather than set, so they belong to the toggles and the menu
    // items carry no key of their own.
    {CMD(ID_MOTION_LOOP), "&Loop", nullptr, "Play the film round and round", nullptr, "loop"},
    {CMD(ID_MOTION_YOYO), "&Yo Yo", nullptr, "Play the film to the end and back again", nullptr,
     "yoyo"},
    {CMD(ID_MOTION_TO_END), "To &End", nullptr, "Play the film once and stop at the end", nullptr,
     "to-end"},
    {CMD(ID_TOGGLE_LOOP), nullptr, "Ctrl+L", "Play round and round, or once when already looping",
     nullptr, nullptr},
    {CMD(ID_TOGGLE_YOYO), nullptr, "Ctrl+Y",
     "Play to the end and back, or once when already doing so", nullptr, nullptr},
    {CMD(ID_MOTION_CYCLE), nullptr, nullptr, "Change how the film plays: loop, yo-yo or to end",
     "Motion", "to-end"},
    {CMD(ID_FILM_SPEED), "S&peed...", nullptr,
     "Change the film speed (double click slider to display dialogue box)", "Film speed",
     nullptr},
    {CMD(ID_DELAY_1), nullptr, "Num+1", "Play at 25 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_2), nullptr, "Num+2", "Play at 12.5 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_3), nullptr, "Num+3", "Play at 8.3 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_4), nullptr, "Num+4", "Play at 6.3 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_5), nullptr, "Num+5", "Play at 5 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_6), nullptr, "Num+6", "Play at 4.2 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_7), nullptr, "Num+7", "Play at 3.6 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_8), nullptr, "Num+8", "Play at 3.1 frames a second", nullptr, nullptr},
    {CMD(ID_DELAY_9), nullptr, "Num+9", "Play at 2.8 frames a second", nullptr, nullptr},

    // Tools
    {CMD(ID_TOOL_PENCIL), "&Pencil", nullptr, "Draw with the pencil", "Pencil", "pencil"},
    {CMD(ID_TOOL_ERASER), "&Eraser", nullptr, "Rub out to the paper colour", "Eraser", "eraser"},
    {CMD(ID_TOOL_SNAPSHOT), "Snap s&hot", nullptr,
     "Pick up part of the picture as a stamp or a new frame", "Snap shot", "snapshot"},
    {CMD(ID_TOOL_STAMP), "S&tamp", nullptr, "Print stamps from the stamp picker onto the frame",
     "Stamp", "stamp"},
    {CMD(ID_TOOL_PIPETTE), "P&ipette", nullptr, "Pick up a colour from the frame", "Pipette",
     "pipette"},
    {CMD(ID_TOOL_FILL), "Flood fi&ll", nullptr, "Pour paint into an area", "Fill", "fill"},
    {CMD(ID_TOOL_SOUND), "&Sound", nullptr, "Put sounds on frames", "Sound", "sound"},
    {CMD(ID_TOOL_TEXT), "Te&xt", nullptr, "Type words onto the frame", "Text", "text"},
    {CMD(ID_TOOL_ZOOM), "&Zoom", nullptr,
     "Click to zoom in, right click to zoom out, drag round a part to fill the window", "Zoom",
     "zoom"},
    {CMD(ID_GHOSTING), "&Ghosting", nullptr,
     "Show the frames before this one faintly behind it", "Ghosting", "ghosting"},
    {CMD(ID_INBETWEENING), "In-&Betweening", nullptr,
     "Show the frames before and after this one faintly behind it", "In-Betweening",
     "inbetweening"},
    {CMD(ID_FULL_SCREEN), "&View film in full-screen mode", nullptr,
     "View film in full-screen mode", "Full screen mode", "full-screen"},
    {CMD(ID_FULL_SCREEN_STEP_WITH_MOUSE), "&Step with mouse", nullptr,
     "In full screen, click to play backwards and right click to play forwards", nullptr,
     nullptr},
    {CMD(ID_FULL_SCREEN_ACTUAL_SIZE), "&Actual Size", nullptr,
     "Show the film at its own size in full screen", nullptr, nullptr},
    {CMD(ID_FULL_SCREEN_LARGE_SIZE), "&Large Size", nullptr,
     "Show the film as large as fits the screen, keeping its shape", nullptr, nullptr},
    {CMD(ID_FULL_SCREEN_FULL_SIZE), "F&ull Size", nullptr,
     "Stretch the film over the whole screen", nullptr, nullptr},

    // The stamp tool's menu
    {CMD(ID_STAMP_OPEN), "&Open...", nullptr, "Add the pictures of a file to the stamps",
     nullptr, nullptr},
    {CMD(ID_STAMP_SAVE), "&Save...", nullptr, "Save the stamps in a file", nullptr, nullptr},
    {CMD(ID_STAMP_SAVE_DEFAULT), "Save &As Default", nullptr,
     "Keep these stamps as the ones this folder starts with", nullptr, nullptr},
    {CMD(ID_STAMP_CUT), "Cu&t", nullptr, "Move the selected stamps to the clipboard", nullptr,
     nullptr},
    {CMD(ID_STAMP_COPY), "&Copy", nullptr, "Copy the selected stamps to the clipboard", nullptr,
     nullptr},
    {CMD(ID_STAMP_PASTE), "&Paste", nullptr, "Add the pictures on the clipboard to the stamps",
     nullptr, nullptr},
    {CMD(ID_STAMP_DELETE), "&Delete", nullptr, "Remove the selected stamps", nullptr, nullptr},
    {CMD(ID_STAMP_SELECT_ALL), "Select &All", nullptr, "Select every stamp", nullptr, nullptr},
    {CMD(ID_STAMP_CLEAR_SELECTION), "C&lear Selection", nullptr, "Unselect all the stamps",
     nullptr, nullptr},
    {CMD(ID_STAMP_RENAME), "&Rename...", nullptr, "Give the selected stamps a new name", nullptr,
     nullptr},
    {CMD(ID_STAMP_VIEW_STAMPS), "&As Stamps", nullptr, "Show the stamps as pictures", nullptr,
     nullptr},
    {CMD(ID_STAMP_VIEW_ICONS), "As File &Icons", nullptr, "Show the stamps as file icons",
     nullptr, nullptr},
    {CMD(ID_STAMP_SMALL), "&Small", nullptr, "Show the stamps small", nullptr, nullptr},
    {CMD(ID_STAMP_LARGE), "&Large", nullptr, "Show the stamps large", nullptr, nullptr},
    {CMD(ID_STAMP_FLIP_HORIZONTAL), "Flip &horizontally\tCtrl+F", nullptr,
     "Flip the stamp from left to right", nullptr, nullptr},
    {CMD(ID_STAMP_FLIP_VERTICAL), "Flip &vertically\tCtrl+Shift+F", nullptr,
     "Flip the stamp upside down", nullptr, nullptr},
    {CMD(ID_STAMP_ROTATE_LEFT), "Rotate &left\tCtrl+Up", nullptr,
     "Turn the stamp a little to the left", nullptr, nullptr},
    {CMD(ID_STAMP_ROTATE_RIGHT), "Rotate &right\tCtrl+Down", nullptr,
     "Turn the stamp a little to the right", nullptr, nullptr},
    {CMD(ID_STAMP_DOUBLE_SIZE), "Do&uble size\tCtrl++", nullptr, "Make the stamp twice as big",
     nullptr, nullptr},
    {CMD(ID_STAMP_BIGGER), "&Bigger\tUp", nullptr, "Make the stamp a little bigger", nullptr,
     nullptr},
    {CMD(ID_STAMP_DEFAULT_SIZE), "&Default size\t.", nullptr,
     "Put the stamp back to its own size, the right way up", nullptr, nullptr},
    {CMD(ID_STAMP_SMALLER), "&Smaller\tDown", nullptr, "Make the stamp a little smaller",
     nullptr, nullptr},
    {CMD(ID_STAMP_HALF_SIZE), "Hal&f size\tCtrl+-", nullptr, "Make the stamp half as big",
     nullptr, nullptr},
    {CMD(ID_STAMP_USE_MASK), "Use &mask\tF3", nullptr,
     "Toggle whether stamps can have transparent bits", "Masked", nullptr},
    {CMD(ID_STAMP_SOLID), "S&olid colour\tF2", nullptr,
     "Toggle whether stamps are painted in a solid colour", "Solid", nullptr},
    {CMD(ID_SOUND_HEAR), nullptr, nullptr, "Hear this sound effect", "Hear", nullptr},

    // Help
    {CMD(ID_HELP_CONTENTS), "&Contents\tF1", nullptr,
     "Read the illustrated guide to making films", nullptr, nullptr},
    {CMD(ID_APP_ABOUT), "&About Celvane...", nullptr,
     "Show the program's version, its licence and the libraries it uses", nullptr, nullptr},
};

#undef CMD

constexpr MenuEntry item(int id) { return {id, nullptr, {}}; }
constexpr MenuEntry submenu(const char* title, std::span<const MenuEntry> items)
{
    return {-1, title, items};
}
constexpr MenuEntry kSeparator{0, nullptr, {}};

constexpr MenuEntry kFileMenu[] = {
    item(ID_FILE_NEW_FILM), item(ID_FILE_OPEN), item(ID_FILE_SAVE), item(ID_FILE_SAVE_AS),
    kSeparator,
    item(ID_FILE_IMPORT), item(ID_FILE_EXPORT), item(ID_FILE_SUMMARY),
    kSeparator,
    item(ID_FILE_PRINT), item(ID_FILE_PRINT_PREVIEW), item(ID_FILE_PRINT_SETUP),
    kSeparator,
    item(ID_FILE_MRU_FILE1), item(ID_FILE_MRU_FILE2), item(ID_FILE_MRU_FILE3),
    item(ID_FILE_MRU_FILE4),
    kSeparator,
    item(ID_APP_EXIT),
};

constexpr MenuEntry kEditMenu[] = {
    item(ID_EDIT_UNDO), item(ID_EDIT_REDO), item(ID_EDIT_RESTORE),
    kSeparator,
    item(ID_EDIT_CUT), item(ID_EDIT_COPY), item(ID_EDIT_PASTE), item(ID_FRAME_DELETE),
    kSeparator,
    item(ID_SELECT_ALL), item(ID_CLEAR_SELECTION), item(ID_FRAME_MARK),
};

// The bar items come first and in this order: the palette item's text follows the toolbox.
constexpr MenuEntry kViewMenu[] = {
    item(ID_VIEW_TOOLBOX), item(ID_VIEW_PLAY_TOOLS), item(ID_VIEW_PALETTE),
    item(ID_VIEW_STATUS_BAR),
    kSeparator,
    item(ID_VIEW_BLACK_WHITE),
    kSeparator,
    item(ID_VIEW_FIT_WINDOW), item(ID_VIEW_ZOOM), item(ID_VIEW_GRID),
    kSeparator,
    item(ID_VIEW_CHOICES),
};

constexpr MenuEntry kFramesMenu[] = {
    item(ID_FRAME_NEW), item(ID_FRAME_DUPLICATE), item(ID_FRAME_BLANK),
    kSeparator,
    item(ID_GO_TO_FRAME), item(ID_FADE_PAUSE),
};

constexpr MenuEntry kMotionMenu[] = {
    item(ID_PLAY_FORWARDS), item(ID_PLAY_BACKWARDS), item(ID_PLAY_STOP),
    kSeparator,
    item(ID_PLAY_REWIND), item(ID_STEP_BACK), item(ID_STEP_FORWARD), item(ID_PLAY_LAST_FRAME),
    kSeparator,
    item(ID_MOTION_LOOP), item(ID_MOTION_YOYO), item(ID_MOTION_TO_END),
    kSeparator,
    item(ID_FILM_SPEED),
};

constexpr MenuEntry kFullScreenMenu[] = {
    item(ID_FULL_SCREEN),
    kSeparator,
    item(ID_FULL_SCREEN_STEP_WITH_MOUSE),
    kSeparator,
    item(ID_FULL_SCREEN_ACTUAL_SIZE), item(ID_FULL_SCREEN_LARGE_SIZE),
    item(ID_FULL_SCREEN_FULL_SIZE),
};

// Toolbox order, so that the tools can still be chosen when the toolbox shows no buttons.
constexpr MenuEntry kToolsMenu[] = {
    item(ID_TOOL_PENCIL), item(ID_TOOL_ERASER), item(ID_TOOL_SNAPSHOT), item(ID_TOOL_STAMP),
    item(ID_TOOL_PIPETTE), item(ID_TOOL_FILL), item(ID_TOOL_SOUND), item(ID_TOOL_TEXT),
    item(ID_TOOL_ZOOM),
    kSeparator,
    item(ID_GHOSTING), item(ID_INBETWEENING),
    kSeparator,
    // Also on the Sound bar and its menu; here they can be switched whatever the tool.
    item(ID_FILM_SOUNDS), item(ID_ACTION_SOUNDS),
    kSeparator,
    submenu("&Full screen", kFullScreenMenu),
};

constexpr MenuEntry kHelpMenu[] = {
    item(ID_HELP_CONTENTS),
    kSeparator,
    item(ID_APP_ABOUT),
};

// File and Edit first: the current tool's menu is inserted at position 2 at run time.
constexpr MenuEntry kMenuBar[] = {
    submenu("&File", kFileMenu),     submenu("&Edit", kEditMenu),
    submenu("&View", kViewMenu),     submenu("F&rames", kFramesMenu),
    submenu("&Motion", kMotionMenu), submenu("&Tools", kToolsMenu),
    submenu("&Help", kHelpMenu),
};

} // namespace

std::span<const CommandInfo> allCommands() { return kCommands; }

const CommandInfo* findCommand(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [id](const CommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

const char* commandText(const CommandInfo& c)
{
    return c.menuText ? c.menuText : c.toolTip ? c.toolTip : c.prompt;
}

std::span<const MenuEntry> menuBar() { return kMenuBar; }

const char* unavailableReason(int id)
{
    switch (id) {
    case ID_EDIT_UNDO: return "Nothing on this frame to undo";
    case ID_EDIT_REDO: return "Nothing undone to redo";
    case ID_EDIT_RESTORE: return "The frame is as it was when you came to it";
    case ID_EDIT_PASTE: return "The clipboard holds no frames or picture";
    case ID_SELECT_ALL: return "Every frame is selected already";
    case ID_CLEAR_SELECTION: return "No frames are selected";
    }
    return nullptr;
}

} // namespace celvane
