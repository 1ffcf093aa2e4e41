#include "cli/TerminalPrompter.h"

#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <optional>
#include <vector>

#include "cli/Interrupt.h"
#include "cli/TerminalOutput.h"
#include "core/common/LineBreak.h"

namespace kyv::cli {

namespace {

struct Choice {
    char key;
    QString word;
    MessageAnswer answer;
};

std::vector<Choice> ChoicesOf(MessageButtons buttons)
{
    const Choice yes{'y', QStringLiteral("Yes"), MessageAnswer::Yes};
    const Choice no{'n', QStringLiteral("No"), MessageAnswer::No};
    const Choice cancel{'c', QStringLiteral("Cancel"), MessageAnswer::Cancel};
    switch (buttons) {
        case MessageButtons::Ok:
            return {{'o', QStringLiteral("OK"), MessageAnswer::Ok}};
        case MessageButtons::OkCancel:
            return {{'o', QStringLiteral("OK"), MessageAnswer::Ok}, cancel};
        case MessageButtons::YesNo:
            return {yes, no};
        case MessageButtons::YesNoCancel:
            return {yes, no, cancel};
        case MessageButtons::RetryCancel:
            return {{'r', QStringLiteral("Retry"), MessageAnswer::Retry}, cancel};
        case MessageButtons::AbortRetryIgnore:
            return {{'a', QStringLiteral("Abort"), MessageAnswer::Abort},
                    {'r', QStringLiteral("Retry"), MessageAnswer::Retry},
                    {'i', QStringLiteral("Ignore"), MessageAnswer::Ignore}};
    }
    return {{'o', QStringLiteral("OK"), MessageAnswer::Ok}};
}

const Choice& DefaultChoice(const std::vector<Choice>& choices, int defaultButton)
{
    const auto index = static_cast<std::size_t>(defaultButton - 1);
    return index < choices.size() ? choices[index] : choices.front();
}

// The "no" of a question: the last of its buttons other than the first (No, Cancel, Ignore).
const Choice& NegativeChoice(const std::vector<Choice>& choices)
{
    return choices.size() > 1 && choices[1].answer == MessageAnswer::No ? choices[1] : choices.back();
}

// One line typed on standard input; nothing when it ended or Ctrl-C was pressed.
std::optional<QByteArray> ReadAnswerLine()
{
    QByteArray line;
    char c = 0;
    while (true) {
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR && !InterruptRequested()) continue;
        if (n <= 0) return line.isEmpty() ? std::nullopt : std::optional<QByteArray>(line);
        if (c == '\n') return line;
        line.append(c);
    }
}

}  // namespace

QString MessageLine(const Message& message)
{
    QString text = message.text;
    text.replace(kLineBreak, QStringLiteral("\n"));
    QString line = QStringLiteral("kyv: ");
    if (!message.title.isEmpty()) line += message.title + QStringLiteral(": ");
    return line + text;
}

MessageAnswer TerminalPrompter::Ask(const Message& message)
{
    if (message.buttons == MessageButtons::Ok) {
        output_.WriteMessage(MessageLine(message));
        return MessageAnswer::Ok;
    }
    return policy_.interactive ? AskOnTerminal(message) : AnswerWithoutTerminal(message);
}

MessageAnswer TerminalPrompter::AskOnTerminal(const Message& message)
{
    const std::vector<Choice> choices = ChoicesOf(message.buttons);
    const Choice& byDefault = DefaultChoice(choices, message.defaultButton);
    QString keys;
    for (const Choice& choice : choices) {
        if (!keys.isEmpty()) keys += QLatin1Char('/');
        keys +=
            &choice == &byDefault ? QChar(QLatin1Char(choice.key)).toUpper() : QChar(QLatin1Char(choice.key));
    }
    // After Ctrl-C the run is ending: no question waits for an answer.
    if (InterruptRequested()) return NegativeChoice(choices).answer;
    while (true) {
        output_.WritePrompt(MessageLine(message) + QStringLiteral(" [") + keys + QStringLiteral("] "));
        const std::optional<QByteArray> line = ReadAnswerLine();
        if (InterruptRequested()) {
            output_.WriteMessage(QString());
            return NegativeChoice(choices).answer;
        }
        if (!line) {
            output_.WriteMessage(byDefault.word);
            return byDefault.answer;
        }
        const QString typed = QString::fromUtf8(*line).trimmed().toLower();
        if (typed.isEmpty()) return byDefault.answer;
        for (const Choice& choice : choices) {
            if (typed == QChar(QLatin1Char(choice.key)) || typed == choice.word.toLower())
                return choice.answer;
        }
    }
}

MessageAnswer TerminalPrompter::AnswerWithoutTerminal(const Message& message)
{
    const std::vector<Choice> choices = ChoicesOf(message.buttons);
    // Nobody could answer "Abort?": the run goes on, as after a No.
    if (message.title == QLatin1String("Abort?")) return NegativeChoice(choices).answer;
    const Choice& answer = policy_.answerYes ? choices.front() : NegativeChoice(choices);
    output_.WriteMessage(MessageLine(message) + QStringLiteral(" [") + answer.word +
                         (policy_.answerYes ? QStringLiteral(": --yes]") : QStringLiteral(": no terminal]")));
    return answer.answer;
}

}  // namespace kyv::cli
