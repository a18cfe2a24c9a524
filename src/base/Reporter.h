#pragma once
// The one way the program tells the user something in a box: explicit messages, warnings and
// refusals, and failures caught by a command. Windows show boxes; tests put their own sink in
// to read what would have been shown and to answer questions.

#include <exception>
#include <string>

namespace celvane {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The answer of a box's first button (Ok or Yes): what a box answers when nobody is asked.
MessageAnswer firstButton(MessageButtons buttons);

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon) = 0;
};

class Reporter {
public:
    // The sink in use; null shows nothing and answers as if the first button were pressed.
    static void setSink(MessageSink* sink);
    static MessageSink* sink();

    static MessageAnswer message(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                                 MessageIcon icon = MessageIcon::Information);
    static MessageAnswer message(int stringId, MessageButtons buttons = MessageButtons::Ok,
                                 MessageIcon icon = MessageIcon::Information);

    // Shows the message for a failure caught by a command: the failure's own message, or the
    // standard one of its kind, with the file it concerns and the reason on a second line (the
    // failure's own file, else `file`). A failure outside the program's family is shown (as an
    // internal error) only when `reportAll` is set. A cancel by the user shows nothing. Returns
    // true when a message was shown.
    static bool reportException(const std::exception& e, bool reportAll = false, const std::string& file = {});
    // The text with a second line naming the file (by its name alone) and the reason, if any.
    static std::string withFile(const std::string& text, const std::string& file, const std::string& reason = {});
};

} // namespace celvane
