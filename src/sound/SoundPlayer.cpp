#include "sound/SoundPlayer.h"

namespace celvane {

namespace {
SoundPlayer* g_player = nullptr;
}

SoundPlayer* SoundPlayer::current() { return g_player; }

void SoundPlayer::setCurrent(SoundPlayer* player) { g_player = player; }

} // namespace celvane
