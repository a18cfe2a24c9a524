#include "app/SoundCommands.h"

#include "base/CommandIds.h"

namespace celvane {

namespace {
// Often enough that the device closes well inside a second after a sound.
constexpr int kPollMs = 100;
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
}

SoundCommands::~SoundCommands() { SoundPlayer::setCurrent(nullptr); }

bool SoundCommands::onCommand(int id)
{
    switch (id) {
    case ID_FILM_SOUNDS:
        SoundSwitches::filmSounds = !SoundSwitches::filmSounds;
        if (!SoundSwitches::filmSounds) {
            player_.poll();
            player_.stop(true);
            player_.poll();
        }
        return true;
    case ID_ACTION_SOUNDS:
        SoundSwitches::soundEffects = !SoundSwitches::soundEffects;
        if (!SoundSwitches::soundEffects)
            player_.poll();
        return true;
    }
    return false;
}

bool SoundCommands::onUpdate(int id, CommandState& state)
{
    switch (id) {
    case ID_FILM_SOUNDS:
        state.enabled = true;
        state.checked = SoundSwitches::filmSounds;
        return true;
    case ID_ACTION_SOUNDS:
        state.enabled = true;
        state.checked = SoundSwitches::soundEffects;
        return true;
    }
    return false;
}

} // namespace celvane
