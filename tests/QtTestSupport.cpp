#include "QtTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/CMainFrame.h"
#include "platform/Settings.h"

namespace celvane::test {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "celvane-tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        new QApplication(argc, argv);
    }
}

MessageAnswer RecordingSink::show(const std::string& text, MessageButtons buttons, MessageIcon)
{
    shown.push_back(text);
    if (!answers.empty()) {
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? MessageAnswer::Ok : MessageAnswer::Yes;
}

StartedProgram::StartedProgram(const ProgramOptions& options)
{
    ensureApplication();
    Settings::useFile(dir.path() / "celvane.ini");
    Settings& s = Settings::instance();
    s.writeInt("Settings", "Splash", 0);
    if (!options.singleDocument)
        s.writeInt("Settings", "SingleDoc", 0);
    if (options.filmWidth > 0) {
        s.writeInt("Settings", "UserDefaultFilm", 1);
        s.writeInt("Default", "Width", options.filmWidth);
        s.writeInt("Default", "Height", options.filmHeight);
    }
    s.writeInt("Default", "Scale", options.scale);
    EXPECT_TRUE(app.start(options.arguments));
    if (options.window.isValid()) {
        frame().resize(options.window);
        QApplication::processEvents();
    }
}

ToolRun runTool(const std::string& arguments)
{
    ToolRun r;
    r.status = runCommand(std::string(CELVANE_TOOL) + " " + arguments + " 2>&1", &r.out);
    return r;
}

std::optional<std::string> ScriptedChooser::next()
{
    if (paths.empty())
        return std::nullopt;
    auto p = paths.front();
    paths.pop_front();
    return p;
}

} // namespace celvane::test
