#pragma once
// What the keyboard does with the buttons and panels of a window, besides what Qt does anyway
// (Space presses a focused button, Tab moves the focus).

#include <functional>

class QAbstractButton;
class QWidget;

namespace kyv::gui {

// Enter and Return on `button` while it has the focus press it, as Space does. No other button
// becomes a default button by this.
void PressOnEnter(QAbstractButton* button);
// PressOnEnter for every push button inside `window` (command buttons handle their keys
// themselves).
void PressButtonsOnEnter(QWidget* window);
// Escape pressed anywhere inside `panel` runs `close`: what the panel's "Cancel" or "Not now" does.
void CloseOnEscape(QWidget* panel, std::function<void()> close);

}  // namespace kyv::gui
