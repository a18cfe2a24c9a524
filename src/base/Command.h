#pragma once
// Commands are numbered; a command goes first to the active view, then to its document, then to
// the application, and the first target that knows it handles it. The same chain answers
// whether a command is enabled or checked. A command nobody answers for is disabled, never
// missing from the menus.

#include <string>
#include <vector>

namespace celvane {

struct CommandState {
    bool enabled = false;
    bool checked = false;
    // Replaces the menu text when not empty (commands whose wording follows the state).
    std::string text;
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // True when this target handled the command.
    virtual bool onCommand(int id) = 0;
    // True when this target answers for the command; it then fills `state`.
    virtual bool onUpdate(int id, CommandState& state) = 0;
};

class CommandRouter {
public:
    // The chain, most specific first (view, document, application); null entries are skipped.
    void setChain(std::vector<CommandTarget*> chain) { chain_ = std::move(chain); }

    // Runs the command if it is enabled; false when nobody handled it.
    bool execute(int id);
    CommandState state(int id) const;

private:
    std::vector<CommandTarget*> chain_;
};

} // namespace celvane
