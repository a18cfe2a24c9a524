#pragma once
// Where the window asks for a named feedback sound ("Zoom in", "Zoom out"). Nothing plays them
// until the action sound library exists; a player can be put in (tests record the names).

namespace celvane {

class ActionSounds {
public:
    // `force` plays over a sound that is still playing; a `followOn` sound then repeats until
    // stopped.
    using Player = void (*)(const char* name, bool force, const char* followOn);
    static void play(const char* name, bool force = false, const char* followOn = nullptr);
    static void setPlayer(Player player);
    // A repeating follow-on sound ends its pass and stops.
    static void endLoop();
};

} // namespace celvane
