#pragma once
// The window a message box or file dialog is shown over.

class QWidget;

namespace kyv::gui {

// `parent` when one is given; otherwise the window from which the active window hangs (the
// program's main window, which every other window of the program has as its parent), or none while
// the program has no active window.
[[nodiscard]] QWidget* DialogParent(QWidget* parent);

}  // namespace kyv::gui
