#pragma once
// The program's sound player, polled while a sound plays so that the device closes soon after the
// last one ends; the action sounds it plays as feedback; and the two switches of the main tool
// bar: film sounds and sound effects.

#include <QTimer>

#include "base/Command.h"
#include "platform/QtSoundPlayer.h"
#include "sound/ActionSoundLibrary.h"
#include "sound/SoundLibrary.h"

namespace celvane {

class SoundCommands : public CommandTarget {
public:
    SoundCommands();
    ~SoundCommands() override;

    QtSoundPlayer& player() { return player_; }
    const ActionSoundLibrary& actionSounds() const { return actions_; }
    // The sound picker's library: recorded and loaded sounds the child can put on frames.
    SoundLibrary& library() { return library_; }

private:
    // The action sounds of the folder the settings name; a warning when it has none.
    void loadActionSounds();
    void toggleFilmSounds();
    void toggleSoundEffects();

    QtSoundPlayer player_;
    ActionSoundLibrary actions_;
    SoundLibrary library_;
    QTimer poll_;
};

} // namespace celvane
