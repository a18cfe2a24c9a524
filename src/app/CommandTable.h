#pragma once
// Every command of the program by number: its menu text, key, status-bar prompt, tool tip and
// icon, and the menu bar built from them. Plain data; the main frame turns it into actions.

#include <span>

namespace celvane {

struct CommandInfo {
    int id;
    const char* name;     // the symbolic name, e.g. "ID_FILE_NEW"
    const char* menuText; // with '&' for the mnemonic and "\t" before the key shown, if any
    const char* shortcut; // a further key with no menu text to show it (e.g. "F7"), or nullptr
    const char* prompt;   // status-bar text
    const char* toolTip;  // or nullptr
    const char* icon;     // icon resource name (":/icons/<name>.svg"), or nullptr
};

struct MenuEntry {
    int id;            // a command, or 0 for a separator, or -1 for a submenu
    const char* title; // the submenu's title when id is -1
    std::span<const MenuEntry> items; // the submenu's entries when id is -1
};

std::span<const CommandInfo> allCommands();
// The command with this number, or null.
const CommandInfo* findCommand(int id);
// The command's words: its menu text, or where it has none its tool tip, or its prompt.
const char* commandText(const CommandInfo& c);
// The menu bar, left to right; each top-level entry is a submenu.
std::span<const MenuEntry> menuBar();
// Why a command that is greyed out cannot be used now, as its tool tip says; null for a
// command with no reason of its own.
const char* unavailableReason(int id);

} // namespace celvane
