#include "base/Command.h"

#include <algorithm>

namespace celvane {

bool CommandTarget::onCommand(int id)
{
    const CommandEntry* entry = find(id);
    if (!entry || !entry->state().enabled)
        return false;
    entry->run();
    return true;
}

bool CommandTarget::onUpdate(int id, CommandState& state)
{
    const CommandEntry* entry = find(id);
    if (!entry)
        return false;
    state = entry->state();
    return true;
}

void CommandTarget::addCommands(std::vector<CommandEntry> entries)
{
    commands_.insert(commands_.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
}

const CommandEntry* CommandTarget::find(int id) const
{
    const auto it = std::find_if(commands_.begin(), commands_.end(), [id](const CommandEntry& e) { return e.id == id; });
    return it == commands_.end() ? nullptr : &*it;
}

bool CommandRouter::execute(int id)
{
    if (!state(id).enabled)
        return false;
    // A command may change the chain as it runs (it announces changes, and states are asked
    // again); it runs on the chain it was given.
    const std::vector<CommandTarget*> chain = chain_;
    for (CommandTarget* target : chain)
        if (target && target->onCommand(id))
            return true;
    return false;
}

CommandState CommandRouter::state(int id) const
{
    CommandState s;
    for (CommandTarget* target : chain_)
        if (target && target->onUpdate(id, s))
            return s;
    return CommandState{};
}

} // namespace celvane
