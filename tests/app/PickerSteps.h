#pragma once
// Pickers of the real program as a person uses them: where to click an entry, and a stamp folder
// of one black bar of 20 x 10 pixels called "Bar".

#include <QPoint>
#include <filesystem>

#include "DrawingProgram.h"
#include "app/CStampPicker.h"
#include "app/picker/CPickerWindow.h"
#include "base/CommandIds.h"
#include "base/Settings.h"

namespace celvane::test {

inline QPoint iconCentre(const CPickerWindow& window, int entry)
{
    const Rect r = window.grid().rects(entry).icon;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline std::string barFolder(const TempDir& dir)
{
    const std::string folder = dir.file("stamps");
    std::filesystem::create_directory(folder);
    writeBytes(folder + "/data.stp", blockStampFile(20, 10, 0x000000, "Bar"));
    return folder;
}

// The stamp tool chosen, its picker showing the bar's folder.
inline CStampPicker& chooseStampsOfBarFolder(DrawingProgram& p)
{
    Settings::instance().writeString("Stamp Picker", "Dir", barFolder(p.dir));
    p.frame().runCommand(ID_TOOL_STAMP);
    return p.frame().stampPicker();
}

} // namespace celvane::test
