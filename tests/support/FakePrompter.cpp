#include "support/FakePrompter.h"

#include "support/TestFailure.h"

namespace kyv::test {

MessageAnswer FakePrompter::Ask(const Message& message)
{
    messages.push_back(message);
    if (script.empty()) {
        if (message.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        ReportTestFailure("unscripted question: \"" + message.text.toStdString() + "\" (title \"" +
                          message.title.toStdString() + "\")");
        return MessageAnswer::Cancel;
    }
    const MessageAnswer answer = script.front();
    script.pop_front();
    return answer;
}

FakePrompter& FakePrompter::Answer(MessageAnswer answer)
{
    script.push_back(answer);
    return *this;
}

}  // namespace kyv::test
