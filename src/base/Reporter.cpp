#include "base/Reporter.h"

#include <new>

#include "base/Errors.h"
#include "base/StringTable.h"

namespace celvane {

namespace {
MessageSink* currentSink = nullptr;

MessageAnswer firstButton(MessageButtons buttons)
{
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? MessageAnswer::Ok
                                                                                : MessageAnswer::Yes;
}
} // namespace

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

bool Reporter::reportException(const std::exception& e, bool reportAll)
{
    std::string text;
    if (const auto* error = dynamic_cast<const Error*>(&e)) {
        if (error->kind() == ErrorKind::UserCancel)
            return false;
        text = error->userMessage();
    } else if (dynamic_cast<const std::bad_alloc*>(&e)) {
        text = loadString(IDS_OUT_OF_MEMORY);
    } else if (reportAll) {
        text = loadString(IDS_INTERNAL_ERROR);
    } else {
        return false;
    }
    message(text, MessageButtons::Ok, MessageIcon::Error);
    return true;
}

} // namespace celvane
