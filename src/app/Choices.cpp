#include "app/Choices.h"

#include <algorithm>

#include "gfx/PlotRequest.h"
#include "base/Settings.h"
#include "view/PreviewMode.h"

namespace celvane {

namespace {
// The record's switches: section, value, field; the defaults are the record's own.
struct Switch {
    const char* section;
    const char* name;
    bool GeneralChoices::*field;
};
constexpr Switch kSwitches[] = {
    {"Settings", "Splash", &GeneralChoices::splash},       {"Settings", "ShowOverRun", &GeneralChoices::showOverRun},
    {"Settings", "SingleDoc", &GeneralChoices::singleDoc},  {"ToolBox", "PinOnInitialMove", &GeneralChoices::pinOnInitialMove},
    {"ToolBox", "BigButtons", &GeneralChoices::bigButtons}, {"Settings", "ToolTips", &GeneralChoices::toolTips},
    {"Settings", "StatusBar", &GeneralChoices::statusBar},  {"Settings", "BlackWhite", &GeneralChoices::blackWhite},
    {PreviewMode::kWhilePlayingSection, PreviewMode::kWhilePlayingName, &GeneralChoices::ghostsWhilePlaying}};
} // namespace

GeneralChoices GeneralChoices::load(const Settings& s)
{
    GeneralChoices c;
    for (const Switch& w : kSwitches)
        c.*w.field = s.getFlag(w.section, w.name, c.*w.field);
    c.group = s.getInt("ToolBox", "Group", 0, 0, 2);
    return c;
}

void GeneralChoices::save(Settings& s) const
{
    for (const Switch& w : kSwitches)
        s.writeInt(w.section, w.name, this->*w.field ? 1 : 0);
    s.writeInt("ToolBox", "Group", group);
}

WindowDefaults WindowDefaults::load(const Settings& s)
{
    WindowDefaults d;
    d.grid = GridSettings::load(s);
    d.ghosting = s.getInt("Preview", "Ghosting", 1, 0, kLevels - 1);
    d.inBetweening = s.getInt("Preview", "InBetweening", 0, 0, kLevels - 1);
    return d;
}

void WindowDefaults::save(Settings& s) const
{
    grid.save(s);
    s.writeInt("Preview", "Ghosting", ghosting);
    s.writeInt("Preview", "InBetweening", inBetweening);
}

DefaultFilmChoices DefaultFilmChoices::load(const Settings& s, const ScreenInfo& screen)
{
    DefaultFilmChoices c;
    c.userDefined = s.getFlag("Settings", "UserDefaultFilm", false);
    c.limitDepth = s.getFlag("Settings", "LimitDepth", true);
    c.film = NewFilmChoice::from(defaultFilmDescription(screen, s, true, c.limitDepth));
    c.film.width = std::min(c.film.width, maxWidth(screen));
    c.film.height = std::min(c.film.height, maxHeight(screen));
    return c;
}

void DefaultFilmChoices::save(Settings& s) const
{
    s.writeInt("Settings", "UserDefaultFilm", userDefined);
    s.writeInt("Settings", "LimitDepth", limitDepth);
    s.writeInt("Default", "Width", film.width);
    s.writeInt("Default", "Height", film.height);
    s.writeInt("Default", "Depth", film.bitsPerPixel);
    s.writeInt("Default", "Compressed", film.compressed);
}

int DefaultFilmChoices::maxWidth(const ScreenInfo& screen) { return std::clamp(screen.width, kMinFilmSide, kMaxFilmSide); }
int DefaultFilmChoices::maxHeight(const ScreenInfo& screen) { return std::clamp(screen.height, kMinFilmSide, kMaxFilmSide); }

void DefaultFilmChoices::dragTo(const ScreenInfo& screen, NewFilmChoice::Box box, int x, int y)
{
    if (box.width <= 0 || box.height <= 0)
        return;
    film.width = std::clamp(int(int64_t(x) * screen.width / box.width), kMinFilmSide, maxWidth(screen));
    film.height = std::clamp(int(int64_t(y) * screen.height / box.height), kMinFilmSide, maxHeight(screen));
}

OptionsChoices OptionsChoices::load(const Settings& s, const std::filesystem::path& programFolder)
{
    OptionsChoices c;
    c.stampsDir = s.getString("Stamp Picker", "Dir", (programFolder / "Stamps").string());
    c.soundsDir = s.getString("Sound Picker", "Dir", (programFolder / "Sounds").string());
    c.actionSoundsOn = s.getFlag("Settings", "ActionSoundsOn", true);
    c.actionSoundsDir = s.getString("Settings", "ActionSoundsDir", (programFolder / "Sounds" / "Actions").string());
    c.fast2 = s.getFlag("Settings", "Fast2", true);
    c.fast16 = s.getFlag("Settings", "Fast16", true);
    c.fast256 = s.getFlag("Settings", "Fast256", true);
    c.autosaveMinutes = s.getInt("Settings", "AutosaveMinutes", 1, 0, 60);
    c.undo = UndoLimits::load(s);
    return c;
}

void OptionsChoices::save(Settings& s) const
{
    s.writeString("Stamp Picker", "Dir", stampsDir);
    s.writeString("Sound Picker", "Dir", soundsDir);
    s.writeInt("Settings", "ActionSoundsOn", actionSoundsOn);
    s.writeString("Settings", "ActionSoundsDir", actionSoundsDir);
    s.writeInt("Settings", "Fast2", fast2);
    s.writeInt("Settings", "Fast16", fast16);
    s.writeInt("Settings", "Fast256", fast256);
    s.writeInt("Settings", "AutosaveMinutes", autosaveMinutes);
    undo.save(s);
}

void OptionsChoices::applyFastGraphics() const
{
    PlotSettings& plot = plotSettings();
    plot.fast2 = fast2;
    plot.fast16 = fast16;
    plot.fast256 = fast256;
}

} // namespace celvane
