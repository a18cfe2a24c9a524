#pragma once
// The program's sound player, polled while a sound plays so that the device closes soon after the
// last one ends; the action sounds it plays as feedback; and the two switches of the main tool
// bar: film sounds and sound effects.

#include <QTimer>
#include <string>

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
    // The Choices sheet was accepted: action sounds switched on, off or to another folder
    // follow at once.
    void settingsChanged();

private:
    // The folder the settings name for action sounds; empty when they are off.
    static std::string actionSoundsFolder();
    // The action sounds of that folder; a warning when it has none.
    void loadActionSounds();
    void toggleFilmSounds();
    void toggleSoundEffects();

    QtSoundPlayer player_;
    ActionSoundLibrary actions_;
    SoundLibrary library_;
    std::string actionFolder_;
    QTimer poll_;
};

} // namespace celvane
