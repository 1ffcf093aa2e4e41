#pragma once

class QWidget;

namespace kyv::gui {

// The pointer moving over `control` gives it the keyboard focus, as the key windows' buttons and
// entry fields expect. A pointer that only rests there, as when a window opens under it, does not:
// the focus stays where the keyboard put it.
void GiveFocusOnHover(QWidget* control);

}  // namespace kyv::gui
