#pragma once

#include "base/messages.h"
#include "platform/shellfileservice.h"

namespace arcavio {

// The shell's questions and errors as the program's message boxes: what a window that owns a
// shell file operation hands it.
class MessagePrompt final : public platform::ShellPrompt {
  public:
    bool confirm(const std::string& question, const std::string& caption) override
    {
        return messages().askYesNo(question, caption);
    }
    void reportError(const std::string& message) override { messages().errorBox(message); }
};

} // namespace arcavio
