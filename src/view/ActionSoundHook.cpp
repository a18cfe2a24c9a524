#include "view/ActionSoundHook.h"

#include "sound/SoundPlayer.h"

namespace celvane {

namespace {
ActionSounds::Player player = nullptr;
}

void ActionSounds::play(const char* name, bool force, const char* followOn)
{
    if (player)
        player(name, force, followOn);
}

void ActionSounds::setPlayer(Player p) { player = p; }

void ActionSounds::endLoop()
{
    if (SoundPlayer* current = SoundPlayer::current())
        current->endLoop();
}

} // namespace celvane
