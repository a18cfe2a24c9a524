#include "base/Command.h"

namespace celvane {

bool CommandRouter::execute(int id)
{
    if (!state(id).enabled)
        return false;
    for (CommandTarget* target : chain_)
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
