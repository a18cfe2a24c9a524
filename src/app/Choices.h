#pragma once
// What the Choices sheet edits, apart from its widgets: each page's values as they are read
// from and written to the settings.

#include <filesystem>
#include <string>

#include "app/NewFilmDialog.h"
#include "film/DefaultFilm.h"
#include "film/UndoHistory.h"
#include "view/GridSettings.h"

namespace celvane {

class Settings;

// The switches of the General and Tools pages.
struct GeneralChoices {
    bool splash = true;
    bool showOverRun = true;
    bool singleDoc = true;
    bool pinOnInitialMove = true;
    bool bigButtons = true;
    int group = 0; // 0 "Standard", 1 "Junior", 2 "Custom..."
    bool toolTips = true;
    bool statusBar = false;
    bool blackWhite = false;
    bool ghostsWhilePlaying = false;

    static GeneralChoices load(const Settings& settings);
    void save(Settings& settings) const;
};

// The default grid and preview levels that new film windows take.
struct WindowDefaults {
    static constexpr int kLevels = 3;
    GridSettings grid;
    int ghosting = 1;
    int inBetweening = 0;

    static WindowDefaults load(const Settings& settings);
    void save(Settings& settings) const;
};

// The teacher's own default film.
struct DefaultFilmChoices {
    // The colours list offers "2", "16" and "256"; a deeper stored depth adds its own entry so
    // that it is shown and kept.
    static constexpr int kListedDepths = 3;

    bool userDefined = false;
    bool limitDepth = true;
    NewFilmChoice film;

    static DefaultFilmChoices load(const Settings& settings, const ScreenInfo& screen);
    void save(Settings& settings) const;
    // The largest side the page allows: the screen's, within what a film may be.
    static int maxWidth(const ScreenInfo& screen);
    static int maxHeight(const ScreenInfo& screen);
    // A drag to (x, y) in a preview box of `box` pixels sets the size by the preview's scale.
    void dragTo(const ScreenInfo& screen, NewFilmChoice::Box box, int x, int y);
};

// The Options page: picker and action sound folders, action sounds, fast graphics.
struct OptionsChoices {
    std::string stampsDir;
    std::string soundsDir;
    bool actionSoundsOn = true;
    std::string actionSoundsDir;
    bool fast2 = true;
    bool fast16 = true;
    bool fast256 = true;
    // Minutes between recovery copies of unsaved films; 0: none.
    int autosaveMinutes = 1;
    UndoLimits undo;

    static OptionsChoices load(const Settings& settings, const std::filesystem::path& programFolder);
    void save(Settings& settings) const;
    // Sets the plotting switches the engine reads.
    void applyFastGraphics() const;
};

} // namespace celvane
