#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/messages.h"

namespace arcavio::test {

// Records every message instead of showing it; installed for the lifetime of the object.
// Questions are answered from a queue (Yes when the queue is empty).
class RecordingMessages final : public MessageSink {
  public:
    RecordingMessages() : previous_(setMessages(this)) {}
    ~RecordingMessages() override { setMessages(previous_); }
    RecordingMessages(const RecordingMessages&) = delete;
    RecordingMessages& operator=(const RecordingMessages&) = delete;

    void plainMessage(const std::string& text) override { plain.push_back(text); }
    void errorBox(const std::string& message) override { errors.push_back(message); }
    bool askYesNo(const std::string& text, const std::string& caption) override
    {
        questions.push_back(text);
        questionCaptions.push_back(caption);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> plain;
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    std::vector<std::string> questionCaptions;
    std::deque<bool> answers;

  private:
    MessageSink* previous_;
};

} // namespace arcavio::test
