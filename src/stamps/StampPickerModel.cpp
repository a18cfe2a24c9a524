#include "stamps/StampPickerModel.h"

#include "base/CommandIds.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "base/Settings.h"
#include "stamps/StampFolder.h"

namespace celvane {

namespace {
struct ImageCommand {
    int id;
    PlotTransform transform;
};
constexpr ImageCommand kImageCommands[] = {
    {ID_STAMP_FLIP_HORIZONTAL, {-1, 1, 0}}, {ID_STAMP_FLIP_VERTICAL, {1, -1, 0}},
    {ID_STAMP_ROTATE_LEFT, {1, 1, -15}},    {ID_STAMP_ROTATE_RIGHT, {1, 1, 15}},
    {ID_STAMP_DOUBLE_SIZE, {2, 2, 0}},      {ID_STAMP_BIGGER, {1.25, 1.25, 0}},
    {ID_STAMP_SMALLER, {0.8, 0.8, 0}},      {ID_STAMP_HALF_SIZE, {0.5, 0.5, 0}},
};
} // namespace

StampPickerModel::StampPickerModel() : stamps_(std::make_unique<StampSet>()) {}

bool StampPickerModel::openFolder(const std::string& folder)
{
    std::unique_ptr<StampSet> loaded;
    try {
        loaded = loadStampSet(folder, Settings::instance());
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        // A stamp file that cannot be read at all is as good as none.
    }
    if (!loaded) {
        Reporter::message(formatMessage(IDS_STAMPS_NOT_FOUND, {folder}), MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    stamps_ = std::move(loaded);
    folder_ = folder;
    return true;
}

bool StampPickerModel::saveAsDefault()
{
    if (folder_.empty())
        return false;
    saveStampSet(*stamps_, folder_);
    return true;
}

uint32_t StampPickerModel::plotFlags() const
{
    return (mode_ & UseMask ? kPlotMasked : 0) | (mode_ & Solid ? kPlotSingleColour : 0);
}

std::optional<PlotTransform> StampPickerModel::imageCommandTransform(int id)
{
    for (const auto& c : kImageCommands)
        if (c.id == id)
            return c.transform;
    return std::nullopt;
}

std::vector<int> StampPickerModel::imageCommands()
{
    std::vector<int> ids{ID_STAMP_DEFAULT_SIZE};
    for (const auto& c : kImageCommands)
        ids.push_back(c.id);
    return ids;
}

std::vector<int> StampPickerModel::runImageCommand(int id)
{
    const std::vector<int> chosen = stamps_->chosen();
    const auto transform = imageCommandTransform(id);
    for (int n : chosen) {
        if (transform)
            stamps_->combine(n, *transform);
        else if (id == ID_STAMP_DEFAULT_SIZE)
            stamps_->resetTransform(n);
    }
    return chosen;
}

void StampPickerModel::readSettings(const Settings& s, const std::string& defaultFolder)
{
    const char* section = "Stamp Picker";
    settingsFolder = s.getString(section, "Dir", defaultFolder);
    showStamps = s.getFlag(section, "UseStamps", true);
    smallWidth = s.getInt(section, "SmallWidth", 48, 8, 512);
    smallHeight = s.getInt(section, "SmallHeight", 48, 8, 512);
    largeWidth = s.getInt(section, "LargeWidth", 128, 8, 512);
    largeHeight = s.getInt(section, "LargeHeight", 92, 8, 512);
}

void StampPickerModel::writeSettings(Settings& s) const
{
    const char* section = "Stamp Picker";
    s.writeInt(section, "UseStamps", showStamps ? 1 : 0);
}

} // namespace celvane
