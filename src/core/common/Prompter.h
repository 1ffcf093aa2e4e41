#pragma once
// Modal message boxes, asked through an interface so that logic never shows a window itself.
// The program answers with a QMessageBox, the command-line tool on the terminal, tests from a script.

#include <QString>

namespace kyv {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageIcon { None, Error, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct Message {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    int defaultButton = 1;  // 1 = first button, 2 = second, 3 = third
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageAnswer Ask(const Message& message) = 0;

    // Shorthand for a message with an OK button only.
    void Tell(const QString& text, const QString& title, MessageIcon icon)
    {
        Ask(Message{text, title, MessageButtons::Ok, icon, 1});
    }
};

}  // namespace kyv
