#include "sound/SoundPool.h"

#include <algorithm>

namespace celvane {

SoundPool& SoundPool::shared()
{
    static SoundPool pool;
    return pool;
}

Sound* SoundPool::add(std::unique_ptr<Sound> sound)
{
    for (const auto& held : sounds_)
        if (held->equals(*sound))
            return held.get();
    sounds_.push_back(std::move(sound));
    return sounds_.back().get();
}

void SoundPool::release(Sound* sound)
{
    const auto at = std::find_if(sounds_.begin(), sounds_.end(), [&](const auto& held) { return held.get() == sound; });
    if (at == sounds_.end())
        return;
    if (--sound->useCount_ == 0)
        sounds_.erase(at);
}

bool SoundPool::contains(const Sound* sound) const
{
    return std::any_of(sounds_.begin(), sounds_.end(), [&](const auto& held) { return held.get() == sound; });
}

} // namespace celvane
