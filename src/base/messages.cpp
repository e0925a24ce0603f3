#include "base/messages.h"

namespace arcavio {
namespace {

// Until a window system is there, messages have nowhere to go; they are dropped.
class SilentSink final : public MessageSink {
  public:
    void plainMessage(const std::string&) override {}
    void errorBox(const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
};

SilentSink silent;
MessageSink* current = &silent;

} // namespace

MessageSink& messages()
{
    return *current;
}

MessageSink* setMessages(MessageSink* sink)
{
    MessageSink* previous = current;
    current = sink != nullptr ? sink : &silent;
    return previous;
}

} // namespace arcavio
