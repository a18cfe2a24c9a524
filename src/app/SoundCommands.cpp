#include "app/SoundCommands.h"

#include "platform/DataFolder.h"
#include "base/CommandIds.h"
#include "base/Reporter.h"
#include "base/StringTable.h"
#include "base/Settings.h"
#include "view/ActionSoundHook.h"

namespace celvane {

namespace {
// Often enough that the device closes well inside a second after a sound.
constexpr int kPollMs = 100;
// The windows ask for feedback sounds by name through a plain hook.
const ActionSoundLibrary* g_actions = nullptr;
} // namespace

SoundCommands::SoundCommands()
{
    SoundPlayer::setCurrent(&player_);
    SoundSwitches::filmSounds = SoundSwitches::soundEffects = true;
    poll_.setInterval(kPollMs);
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        if (!player_.poll())
            poll_.stop();
    });
    // Every sound the player starts is followed until it ends.
    QObject::connect(&player_, &QtSoundPlayer::started, &poll_, [this] { poll_.start(); });
    loadActionSounds();
    g_actions = &actions_;
    ActionSounds::setPlayer([](const char* name, bool force, const char* followOn) {
        if (g_actions)
            g_actions->play(name, force, followOn ? followOn : "");
    });
    addCommands({
        {ID_FILM_SOUNDS, [this] { toggleFilmSounds(); }, [] { return checkedWhen(SoundSwitches::filmSounds); }},
        {ID_ACTION_SOUNDS, [this] { toggleSoundEffects(); }, [] { return checkedWhen(SoundSwitches::soundEffects); }},
    });
}

SoundCommands::~SoundCommands()
{
    ActionSounds::setPlayer(nullptr);
    g_actions = nullptr;
    SoundPlayer::setCurrent(nullptr);
}

std::string SoundCommands::actionSoundsFolder()
{
    const Settings& settings = Settings::instance();
    if (!settings.getInt("Settings", "ActionSoundsOn", 1, 0, 1))
        return {};
    return settings.getString("Settings", "ActionSoundsDir", (dataFolder() / "Sounds" / "Actions").string());
}

void SoundCommands::loadActionSounds()
{
    actions_.clear();
    actionFolder_ = actionSoundsFolder();
    if (actionFolder_.empty())
        return;
    try {
        if (!actions_.load(actionFolder_))
            Reporter::message(formatMessage(IDS_ACTION_SOUNDS_MISSING, {actionFolder_}), MessageButtons::Ok,
                              MessageIcon::Warning);
    } catch (const std::exception& e) {
        actions_.clear();
        Reporter::reportException(e, true);
    }
}

void SoundCommands::settingsChanged()
{
    if (actionSoundsFolder() == actionFolder_)
        return;
    // No sound of the library about to go may still be playing.
    player_.stop(true);
    player_.poll();
    loadActionSounds();
}

void SoundCommands::toggleFilmSounds()
{
    SoundSwitches::filmSounds = !SoundSwitches::filmSounds;
    if (!SoundSwitches::filmSounds) {
        player_.poll();
        player_.stop(true);
        player_.poll();
    }
}

void SoundCommands::toggleSoundEffects()
{
    SoundSwitches::soundEffects = !SoundSwitches::soundEffects;
    if (!SoundSwitches::soundEffects)
        player_.poll();
}

} // namespace celvane
