#pragma once
// The toolbox's settings: which group of buttons is in use, how many a row holds, and for each
// of the twelve entries whether it has a button and whether choosing it opens its panel.

#include <array>
#include <vector>

#include "view/tools/ToolBox.h"

namespace celvane {

class Settings;

struct ToolBoxGroup {
    static constexpr int kEntries = 12;
    // The command of each entry, in the toolbox's fixed order.
    static const std::array<int, kEntries> kCommands;
    enum : int { Shown = 1, OpenOnFirstClick = 2 };
    static constexpr int kJunior = 1;
    static constexpr int kCustom = 2;
    // What the Junior group shows unless its settings say otherwise: the pencil, eraser, stamp,
    // fill, sound and text, in one row or three rows of two, always with large buttons.
    static constexpr std::array<int, kEntries> kJuniorEntries{3, 3, 0, 1, 0, 3, 3, 3, 0, 0, 0, 0};

    int group = 0;
    int horzPerRow = 12;
    int vertPerRow = 2;
    std::array<int, kEntries> entries{3, 3, 1, 1, 1, 3, 3, 3, 1, 1, 1, 1};
    bool bigButtons = true;
    bool pinOnInitialMove = true;

    // The group in use, or the one named.
    static ToolBoxGroup load(const Settings& settings);
    static ToolBoxGroup load(const Settings& settings, int group);
    // Writes these entries as the custom group, with rows for a vertical bar to suit.
    void writeCustom(Settings& settings) const;
    // The entries that have buttons, in order.
    std::vector<int> shownEntries() const;
    // The entry of a command, or -1.
    static int entryOfCommand(int id);
    // Whether choosing a tool from this entry opens its panel: always when it was current
    // already, on a first choice only when the entry says so.
    bool opensPanel(int entry, ToolBox::Selected selected) const;
};

} // namespace celvane
