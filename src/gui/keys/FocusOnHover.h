#pragma once

class QWidget;

namespace kyv::gui {

// The mouse moving over `control` gives it the keyboard focus, as the key windows' buttons and
// entry fields expect.
void GiveFocusOnHover(QWidget* control);

}  // namespace kyv::gui
