#pragma once
// The program's sound player, polled while a sound plays so that the device closes soon after the
// last one ends, and the two switches of the main tool bar: film sounds and sound effects.

#include <QTimer>

#include "base/Command.h"
#include "platform/QtSoundPlayer.h"

namespace celvane {

class SoundCommands : public CommandTarget {
public:
    SoundCommands();
    ~SoundCommands() override;

    bool onCommand(int id) override;
    bool onUpdate(int id, CommandState& state) override;

    QtSoundPlayer& player() { return player_; }

private:
    QtSoundPlayer player_;
    QTimer poll_;
};

} // namespace celvane
