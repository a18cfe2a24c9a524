#pragma once
// For tests that drive windows: one QApplication for the whole test program (offscreen), and a
// message sink and file chooser that answer instead of a person.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/FileDialogs.h"
#include "base/Reporter.h"

namespace celvane::test {

void ensureApplication();

class RecordingSink : public MessageSink {
public:
    RecordingSink() { Reporter::setSink(this); }
    ~RecordingSink() override { Reporter::setSink(nullptr); }
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon) override;

    std::vector<std::string> shown;
    std::deque<MessageAnswer> answers; // given in turn; the first button when none is left
};

class ScriptedChooser : public FileChooser {
public:
    ScriptedChooser() { FileDialogs::setChooser(this); }
    ~ScriptedChooser() override { FileDialogs::setChooser(nullptr); }
    std::optional<std::string> openFile(const std::string&, const std::string&) override { return next(); }
    std::optional<std::string> saveFile(const std::string&, const std::string&, const std::string&) override
    {
        return next();
    }

    std::deque<std::optional<std::string>> paths;

private:
    std::optional<std::string> next();
};

} // namespace celvane::test
