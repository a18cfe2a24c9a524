#include "base/Reporter.h"

#include <filesystem>
#include <new>

#include "base/Errors.h"
#include "base/StringTable.h"

namespace celvane {

namespace {
MessageSink* currentSink = nullptr;
} // namespace

MessageAnswer firstButton(MessageButtons buttons)
{
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? MessageAnswer::Ok
                                                                                : MessageAnswer::Yes;
}

void Reporter::setSink(MessageSink* sink) { currentSink = sink; }

MessageSink* Reporter::sink() { return currentSink; }

MessageAnswer Reporter::message(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    return currentSink ? currentSink->show(text, buttons, icon) : firstButton(buttons);
}

MessageAnswer Reporter::message(int stringId, MessageButtons buttons, MessageIcon icon)
{
    return message(loadString(stringId), buttons, icon);
}

std::string Reporter::withFile(const std::string& text, const std::string& file, const std::string& reason)
{
    if (file.empty())
        return text;
    const std::string name = std::filesystem::path(file).filename().string();
    return text + "\n" + (reason.empty() ? name : name + ": " + reason);
}

bool Reporter::reportException(const std::exception& e, bool reportAll, const std::string& file)
{
    std::string text;
    if (const auto* error = dynamic_cast<const Error*>(&e)) {
        if (error->kind() == ErrorKind::UserCancel)
            return false;
        text = error->file().empty() ? withFile(error->userMessage(), file)
                                     : withFile(error->userMessage(), error->file(), error->reason());
    } else if (dynamic_cast<const std::bad_alloc*>(&e)) {
        text = withFile(loadString(IDS_OUT_OF_MEMORY), file);
    } else if (reportAll) {
        text = withFile(loadString(IDS_INTERNAL_ERROR), file);
    } else {
        return false;
    }
    message(text, MessageButtons::Ok, MessageIcon::Error);
    return true;
}

} // namespace celvane
