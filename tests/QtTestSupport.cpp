#include "QtTestSupport.h"

#include <QApplication>
#include <cstdlib>

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

std::optional<std::string> ScriptedChooser::next()
{
    if (paths.empty())
        return std::nullopt;
    auto p = paths.front();
    paths.pop_front();
    return p;
}

} // namespace celvane::test
