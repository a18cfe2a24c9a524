#pragma once
// Messages shown in the platform's message boxes.

#include "base/Reporter.h"

class QFontMetrics;

namespace celvane {

class QtMessageSink : public MessageSink {
public:
    // Wide enough for the title beside the window's own buttons.
    static int minimumWidth(const QFontMetrics& metrics);
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon) override;
};

} // namespace celvane
