#include "gui/common/MessageBoxPrompter.h"

#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace kyv::gui {

namespace {

std::vector<std::pair<QMessageBox::StandardButton, MessageAnswer>> ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
        case MessageButtons::Ok:
            return {{QMessageBox::Ok, MessageAnswer::Ok}};
        case MessageButtons::OkCancel:
            return {{QMessageBox::Ok, MessageAnswer::Ok}, {QMessageBox::Cancel, MessageAnswer::Cancel}};
        case MessageButtons::YesNo:
            return {{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}};
        case MessageButtons::YesNoCancel:
            return {{QMessageBox::Yes, MessageAnswer::Yes},
                    {QMessageBox::No, MessageAnswer::No},
                    {QMessageBox::Cancel, MessageAnswer::Cancel}};
        case MessageButtons::RetryCancel:
            return {{QMessageBox::Retry, MessageAnswer::Retry}, {QMessageBox::Cancel, MessageAnswer::Cancel}};
        case MessageButtons::AbortRetryIgnore:
            return {{QMessageBox::Abort, MessageAnswer::Abort},
                    {QMessageBox::Retry, MessageAnswer::Retry},
                    {QMessageBox::Ignore, MessageAnswer::Ignore}};
    }
    return {{QMessageBox::Ok, MessageAnswer::Ok}};
}

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer MessageBoxPrompter::Ask(const Message& message)
{
    QMessageBox box(IconOf(message.icon), message.title, message.text, QMessageBox::NoButton,
                    DialogParent(owner_));
    const auto buttons = ButtonsOf(message.buttons);
    QMessageBox::StandardButtons set;
    for (const auto& [button, answer] : buttons) set |= button;
    box.setStandardButtons(set);
    const int defaultIndex = message.defaultButton - 1;
    if (defaultIndex >= 0 && defaultIndex < static_cast<int>(buttons.size()))
        box.setDefaultButton(buttons[defaultIndex].first);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [button, answer] : buttons) {
        if (button == pressed) return answer;
    }
    // Closed by Escape or the frame: the cancelling answer of the set.
    return buttons.size() == 1
               ? buttons.front().second
               : (message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel);
}

}  // namespace kyv::gui
