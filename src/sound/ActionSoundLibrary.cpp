#include "sound/ActionSoundLibrary.h"

#include <algorithm>
#include <cctype>

#include "sound/SoundFiles.h"
#include "sound/SoundPlayer.h"

namespace celvane {

namespace {

bool sameLetters(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

} // namespace

bool ActionSoundLibrary::load(const std::string& folder)
{
    library_.clear();
    return loadFolderSounds(library_, folder);
}

const Sound* ActionSoundLibrary::find(const std::string& name) const
{
    for (int i = 0; i < library_.count(); ++i)
        if (sameLetters(library_.name(i), name))
            return library_.sound(i);
    return nullptr;
}

void ActionSoundLibrary::play(const std::string& name, bool force, const std::string& followOn) const
{
    SoundPlayer* player = SoundPlayer::current();
    if (!player || !SoundSwitches::soundEffects || (!force && player->playing()))
        return;
    if (const Sound* sound = find(name))
        player->playWhole(*sound, followOn.empty() ? nullptr : find(followOn));
}

} // namespace celvane
