#pragma once

#include <exception>
#include <string>

namespace arcavio {

inline constexpr const char* kApplicationTitle = "Arcavio 2";

// How commands talk to the user. The windows implement it with message boxes; tests record.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // The plain message: caption "Arcavio 2", the text, no icon, OK.
    virtual void plainMessage(const std::string& text) = 0;
    // The application error box: caption "Arcavio 2", error icon, the error's message with the
    // full-stop rule applied.
    virtual void errorBox(const std::string& message) = 0;
    // A Yes/No question with a warning icon; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
};

// The sink every command uses; the program installs the message-box one at start.
MessageSink& messages();
// Installs another sink (tests); returns the previous one.
MessageSink* setMessages(MessageSink* sink);

// Runs a command or a window-creation step. An exception ends it there and reaches the
// application error box; the program goes on.
template <class Command> void guarded(Command&& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        messages().errorBox(e.what());
    }
}

} // namespace arcavio
