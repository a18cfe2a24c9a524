#pragma once
// For tests that drive windows: one QApplication for the whole test program (offscreen), and a
// message sink and file chooser that answer instead of a person.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <QSize>
#include <QStringList>

#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/CelvaneApp.h"
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

struct ProgramOptions {
    // A film of this size from the default film settings (0: the program's own default).
    int filmWidth = 0;
    int filmHeight = 0;
    int scale = 100;
    QSize window{}; // the main window's size, when given
    bool singleDocument = true;
    QStringList arguments{};
};

// The program started as a person would, on a settings file of its own (no splash), with a
// recording message sink and a scripted file chooser.
struct StartedProgram {
    TempDir dir;
    RecordingSink sink;
    ScriptedChooser chooser;
    CelvaneApp app;

    explicit StartedProgram(const ProgramOptions& options = {});
    CMainFrame& frame() const { return *app.mainFrame(); }
    CCelvaneView& view() const { return *frame().activeView(); }
};

// The batch tool run with arguments: its exit status and what it printed (both streams).
struct ToolRun {
    int status;
    std::string out;
};
ToolRun runTool(const std::string& arguments);

} // namespace celvane::test
