#pragma once
// The window a message box or file dialog is shown over.

#include <QString>

class QWidget;

namespace kyv::gui {

// Who a message box or file dialog belongs to: a window given when the prompter or dialogs were
// made, or else the top-level window of the given object name (the program names its main window,
// which exists only after the services it is made with).
struct DialogOwner {
    QWidget* window = nullptr;
    QString windowName;
};

// The owner's window; none while there is no window of that name.
[[nodiscard]] QWidget* DialogParent(const DialogOwner& owner);

}  // namespace kyv::gui
