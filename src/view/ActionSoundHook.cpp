#include "view/ActionSoundHook.h"

namespace celvane {

namespace {
ActionSounds::Player player = nullptr;
}

void ActionSounds::play(const char* name)
{
    if (player)
        player(name);
}

void ActionSounds::setPlayer(Player p) { player = p; }

} // namespace celvane
