#pragma once
// What the key panel shows as its controller tells it: the key line, and the panel opened, hidden
// and closed. The key panel's window implements it in the program, a recorder in tests.

#include <QString>

namespace kyv {

class KeyPanelView {
public:
    virtual ~KeyPanelView() = default;
    // The key line reads `line` now.
    virtual void KeyLineChanged(const QString& line) = 0;
    // The panel is to be shown (the main window's other commands disabled).
    virtual void PanelOpened() = 0;
    virtual void PanelHidden() = 0;
    // Every path out of the panel ends here (the commands enabled, the focus back on the key button).
    virtual void PanelClosed() = 0;
};

}  // namespace kyv
