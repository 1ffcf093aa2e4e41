#include "gui/common/CommandButton.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kyv::gui {

namespace {

// The mouse button a key stands for on a command button, if any.
std::optional<MouseButton> ButtonOfKey(const QKeyEvent& event)
{
    switch (event.key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return MouseButton::Left;
        case Qt::Key_Menu:
            return MouseButton::Right;
        case Qt::Key_F10:
            if (event.type() == QEvent::KeyRelease || event.modifiers().testFlag(Qt::ShiftModifier))
                return MouseButton::Right;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace

CommandButton::CommandButton(const QString& caption, QWidget* parent, std::function<bool()> mayTakeFocus)
    : QPushButton(caption, parent), mayTakeFocus_(std::move(mayTakeFocus))
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
    if (motion_.MovedTo(event->globalPosition().toPoint())) TakeFocusFromMouse();
    QPushButton::mouseMoveEvent(event);
}

void CommandButton::leaveEvent(QEvent* event)
{
    motion_.Left();
    QPushButton::leaveEvent(event);
}

void CommandButton::TakeFocusFromMouse()
{
    if (!hasFocus() && isEnabled() && (!mayTakeFocus_ || mayTakeFocus_())) setFocus(Qt::MouseFocusReason);
}

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    const std::optional<MouseButton> button = ButtonOfKey(*event);
    if (!button) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || pressedKey_) return;
    pressedKey_ = button;
    if (*button == MouseButton::Left) setDown(true);
}

void CommandButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
        event->accept();
        emit f1Released();
        return;
    }
    const std::optional<MouseButton> button = ButtonOfKey(*event);
    if (!button) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || pressedKey_ != button) return;
    pressedKey_.reset();
    setDown(false);
    emit mouseUp(*button);
}

void CommandButton::focusOutEvent(QFocusEvent* event)
{
    // A key pressed here and released elsewhere performs nothing.
    pressedKey_.reset();
    setDown(false);
    QPushButton::focusOutEvent(event);
}

void CommandButton::contextMenuEvent(QContextMenuEvent* event)
{
    // The Menu key has already asked for help through its release; a right click through its own.
    event->accept();
}

}  // namespace kyv::gui
