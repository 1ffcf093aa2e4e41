#pragma once
// Message boxes on the terminal. Messages go to standard error as "kyv: Title: text". Questions
// are asked when the tool runs on a terminal; otherwise they are answered without asking: Yes
// when --yes was given, No when not, and "Abort?" is never asked (the run goes on).

#include "core/common/Prompter.h"

namespace kyv::cli {

class TerminalOutput;

struct QuestionPolicy {
    // Standard input and standard error are a terminal: the user is there to answer.
    bool interactive = false;
    // --yes
    bool answerYes = false;
};

class TerminalPrompter final : public Prompter {
public:
    TerminalPrompter(TerminalOutput& output, QuestionPolicy policy) : output_(output), policy_(policy) {}

    MessageAnswer Ask(const Message& message) override;

private:
    MessageAnswer AskOnTerminal(const Message& message);
    MessageAnswer AnswerWithoutTerminal(const Message& message);

    TerminalOutput& output_;
    QuestionPolicy policy_;
};

// How a message reads on standard error: "kyv: " and the title with ": " when there is one, then
// the text with its line breaks as the terminal's.
[[nodiscard]] QString MessageLine(const Message& message);

}  // namespace kyv::cli
