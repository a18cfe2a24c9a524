#pragma once
// Messages shown in the platform's message boxes.

#include "base/Reporter.h"

namespace celvane {

class QtMessageSink : public MessageSink {
public:
    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon) override;
};

} // namespace celvane
