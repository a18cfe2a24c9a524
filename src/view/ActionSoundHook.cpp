#include "view/ActionSoundHook.h"

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

} // namespace celvane
