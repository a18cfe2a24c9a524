#include "sound/SoundPlayer.h"

#include "sound/PlayPlan.h"

namespace celvane {

namespace {
SoundPlayer* g_player = nullptr;
}

SoundPlayer* SoundPlayer::current() { return g_player; }

void SoundPlayer::setCurrent(SoundPlayer* player) { g_player = player; }

int SoundPlayer::playWhole(const Sound& sound, const Sound* followOn)
{
    return play(sound, 0, 127, 0, PlayPlan::kWhole, followOn);
}

} // namespace celvane
