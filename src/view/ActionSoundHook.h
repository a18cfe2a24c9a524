#pragma once
// Where the window asks for a named feedback sound ("Zoom in", "Zoom out"). Nothing plays them
// until the action sound library exists; a player can be put in (tests record the names).

namespace celvane {

class ActionSounds {
public:
    using Player = void (*)(const char* name);
    static void play(const char* name);
    static void setPlayer(Player player);
};

} // namespace celvane
