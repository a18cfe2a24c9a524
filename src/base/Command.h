#pragma once
// Commands are numbered; a command goes first to the active view, then to its document, then to
// the application, and the first target that knows it handles it. The same chain answers
// whether a command is enabled or checked. A command nobody answers for is disabled, never
// missing from the menus.

#include <functional>
#include <string>
#include <vector>

namespace celvane {

struct CommandState {
    bool enabled = false;
    bool checked = false;
    // Replaces the menu text when not empty (commands whose wording follows the state).
    std::string text;
};

// The rules most commands follow.
inline CommandState checkedWhen(bool checked, bool enabled = true) { return {enabled, checked, {}}; }
inline CommandState enabledWhen(bool enabled) { return checkedWhen(false, enabled); }
inline CommandState alwaysEnabled() { return enabledWhen(true); }

// One command a target answers for: what it does, and when it can be done, side by side.
// `run` is called only while `state` says the command is enabled, so it need not ask again.
struct CommandEntry {
    int id;
    std::function<void()> run;
    std::function<CommandState()> state;
};

class CommandTarget {
public:
    CommandTarget() = default;
    // The entries point back at the target that made them.
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;
    virtual ~CommandTarget() = default;

    // True when this target ran the command: it knows it and it is enabled.
    virtual bool onCommand(int id);
    // True when this target answers for the command; it then fills `state`.
    virtual bool onUpdate(int id, CommandState& state);

protected:
    void addCommands(std::vector<CommandEntry> entries);

private:
    const CommandEntry* find(int id) const;

    std::vector<CommandEntry> commands_;
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
