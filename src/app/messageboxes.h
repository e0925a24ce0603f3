#pragma once

#include "base/messages.h"

namespace arcavio {

// Message boxes for the MessageSink; every text is shown as plain text.
class MessageBoxes final : public MessageSink {
  public:
    void plainMessage(const std::string& text) override;
    void errorBox(const std::string& message) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
};

} // namespace arcavio
