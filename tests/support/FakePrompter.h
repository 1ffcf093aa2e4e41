#pragma once

#include <deque>
#include <vector>

#include "core/common/Prompter.h"

namespace kyv::test {

// Records every message and answers questions from a script. A message with an OK button alone is
// answered OK without a script; a question with no scripted answer fails the test.
class FakePrompter final : public Prompter {
public:
    MessageAnswer Ask(const Message& message) override;

    // Queues the answer to the next question.
    FakePrompter& Answer(MessageAnswer answer);

    std::vector<Message> messages;
    std::deque<MessageAnswer> script;
};

}  // namespace kyv::test
