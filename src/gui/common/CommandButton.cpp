#include "gui/common/CommandButton.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kyv::gui {

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setMouseTracking(true);
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void CommandButton::mousePressEvent(QMouseEvent* event)
{
    // Show the pressed look for the left button only; the command itself waits for the release.
    if (event->button() == Qt::LeftButton) setDown(true);
    event->accept();
}

void CommandButton::mouseReleaseEvent(QMouseEvent* event)
{
    setDown(false);
    event->accept();
    if (!rect().contains(event->position().toPoint())) return;
    if (event->button() == Qt::LeftButton)
        emit mouseUp(MouseButton::Left);
    else if (event->button() == Qt::RightButton)
        emit mouseUp(MouseButton::Right);
}

void CommandButton::mouseMoveEvent(QMouseEvent* event)
{
    TakeFocusFromMouse();
    QPushButton::mouseMoveEvent(event);
}

void CommandButton::enterEvent(QEnterEvent* event)
{
    TakeFocusFromMouse();
    QPushButton::enterEvent(event);
}

void CommandButton::TakeFocusFromMouse()
{
    if (!hasFocus() && isEnabled() && (!mayTakeFocus || mayTakeFocus())) setFocus(Qt::MouseFocusReason);
}

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    // Enter and Space do not perform the command; the arrow keys still move the focus.
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
        event->accept();
        emit f1Released();
        return;
    }
    if (event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

}  // namespace kyv::gui
