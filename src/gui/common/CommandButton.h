#pragma once
// A command button that acts when a mouse button is released over it and says which one (left or
// right). The keyboard stands in for the mouse: Space, Enter or Return released after being pressed
// on the focused button is a left release, Shift+F10 or the Menu key a right one (help). F1
// released over it asks for help where it was last opened. The pointer moving over it gives it the
// focus (unless the window says otherwise), but a pointer that only rests there does not.

#include <QPushButton>
#include <functional>
#include <optional>

#include "core/common/MouseButton.h"
#include "gui/common/PointerMotion.h"

namespace kyv::gui {

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    // `mayTakeFocus` is asked before the mouse gives this button the focus; empty means always.
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr,
                           std::function<bool()> mayTakeFocus = {});

signals:
    // A mouse button released over the button, or the key that stands for it.
    void mouseUp(kyv::MouseButton button);
    void f1Released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void TakeFocusFromMouse();

    const std::function<bool()> mayTakeFocus_;
    PointerMotion motion_;
    // The command key pressed on this button and not yet released: only its release acts, so the
    // release of a key that closed a dialog does not reach the button that gets the focus back.
    std::optional<MouseButton> pressedKey_;
};

}  // namespace kyv::gui
