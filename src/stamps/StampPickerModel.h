#pragma once
// What the stamp picker holds apart from its window: the folder's stamps, the stamp mode (Use
// mask, Solid colour), how the stamps are shown, and the image commands that give each stamp
// its own transform. The stamp tool reads the current stamp and the mode from here.

#include <memory>
#include <optional>
#include <string>

#include "gfx/PlotRequest.h"
#include "stamps/StampSet.h"

namespace celvane {

class Settings;

class StampPickerModel {
public:
    enum Mode : int { Plain = 0, UseMask = 1, Solid = 2 };

    StampPickerModel();

    StampSet& stamps() { return *stamps_; }
    const std::string& folder() const { return folder_; }
    // Replaces the stamps with the folder's; false (warning 2068) when it has none.
    bool openFolder(const std::string& folder);
    // Writes the stamps as the folder's "data.stp"; false when there is no folder.
    bool saveAsDefault();

    int mode() const { return mode_; }
    void toggleUseMask() { mode_ = (mode_ ^ UseMask) & UseMask; }
    void toggleSolid() { mode_ = (mode_ ^ Solid) & Solid; }
    // The plot flags of the mode.
    uint32_t plotFlags() const;

    // The transform an image command combines into the chosen stamps; none for other commands.
    static std::optional<PlotTransform> imageCommandTransform(int id);
    // The commands of the Image menu that change the stamps' transforms.
    static std::vector<int> imageCommands();
    // Runs an image command on the selected stamps (stamp 0 when none is selected); the changed
    // stamps.
    std::vector<int> runImageCommand(int id);

    bool showStamps = true;
    bool large = false;
    int smallWidth = 48;
    int smallHeight = 48;
    int largeWidth = 128;
    int largeHeight = 92;
    int cellWidth() const { return large ? largeWidth : smallWidth; }
    int cellHeight() const { return large ? largeHeight : smallHeight; }

    // The "Stamp Picker" settings; the folder is read, not opened.
    void readSettings(const Settings& settings, const std::string& defaultFolder);
    void writeSettings(Settings& settings) const;
    std::string settingsFolder;

private:
    std::unique_ptr<StampSet> stamps_;
    std::string folder_;
    int mode_ = UseMask;
};

} // namespace celvane
