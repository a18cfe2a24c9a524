#include "view/tools/ToolBoxGroup.h"

#include <algorithm>
#include <string>

#include "base/CommandIds.h"
#include "base/Settings.h"

namespace celvane {

const std::array<int, ToolBoxGroup::kEntries> ToolBoxGroup::kCommands{
    ID_TOOL_PENCIL, ID_TOOL_ERASER, ID_TOOL_SNAPSHOT, ID_TOOL_STAMP, ID_TOOL_PIPETTE, ID_TOOL_FILL,
    ID_TOOL_SOUND,  ID_TOOL_TEXT,   ID_INBETWEENING,  ID_GHOSTING,   ID_FULL_SCREEN,  ID_TOOL_ZOOM};

namespace {
std::string sectionOf(int group) { return "ToolBox " + std::to_string(group); }
} // namespace

ToolBoxGroup ToolBoxGroup::load(const Settings& settings)
{
    return load(settings, settings.getInt("ToolBox", "Group", 0, 0, kCustom));
}

ToolBoxGroup ToolBoxGroup::load(const Settings& settings, int group)
{
    ToolBoxGroup g;
    g.group = group;
    if (group == kJunior) {
        g.entries = kJuniorEntries;
        g.horzPerRow = int(g.shownEntries().size());
    }
    const std::string section = sectionOf(g.group);
    // A row of no buttons would leave the bar nowhere to put them.
    g.horzPerRow = settings.getInt(section, "HorzPerRow", g.horzPerRow, 1, kEntries);
    g.vertPerRow = settings.getInt(section, "VertPerRow", g.vertPerRow, 1, kEntries);
    for (int i = 0; i < kEntries; ++i)
        g.entries[size_t(i)] = settings.getInt(section, "Tool" + std::to_string(i), g.entries[size_t(i)], 0, Shown | OpenOnFirstClick);
    // Small buttons are too fiddly for the youngest.
    g.bigButtons = group == kJunior || settings.getFlag("ToolBox", "BigButtons", true);
    g.pinOnInitialMove = settings.getFlag("ToolBox", "PinOnInitialMove", true);
    return g;
}

void ToolBoxGroup::writeCustom(Settings& settings) const
{
    const std::string section = sectionOf(kCustom);
    const int n = int(shownEntries().size());
    settings.writeInt(section, "VertPerRow", std::max(1, n / 6 + (n % 6 > 1 ? 1 : 0)));
    for (int i = 0; i < kEntries; ++i)
        settings.writeInt(section, "Tool" + std::to_string(i), entries[size_t(i)]);
}

std::vector<int> ToolBoxGroup::shownEntries() const
{
    std::vector<int> shown;
    for (int i = 0; i < kEntries; ++i)
        if (entries[size_t(i)] & Shown)
            shown.push_back(i);
    return shown;
}

int ToolBoxGroup::entryOfCommand(int id)
{
    const auto it = std::find(kCommands.begin(), kCommands.end(), id);
    return it == kCommands.end() ? -1 : int(it - kCommands.begin());
}

bool ToolBoxGroup::opensPanel(int entry, ToolBox::Selected selected) const
{
    if (selected == ToolBox::Selected::Again)
        return true;
    return selected == ToolBox::Selected::Changed && entry >= 0 && entry < kEntries &&
           (entries[size_t(entry)] & OpenOnFirstClick);
}

} // namespace celvane
