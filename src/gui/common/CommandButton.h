#pragma once
// A command button that acts when a mouse button is released over it and says which one (left or
// right). Enter and Space do nothing; F1 released over it asks for help; the mouse moving over
// it gives it the focus (unless the window says otherwise).

#include <QPushButton>
#include <functional>

#include "core/common/MouseButton.h"

namespace kyv::gui {

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

    // Asked before the mouse gives this button the focus; empty means always.
    std::function<bool()> mayTakeFocus;

signals:
    void mouseUp(kyv::MouseButton button);
    void f1Released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void TakeFocusFromMouse();
};

}  // namespace kyv::gui
