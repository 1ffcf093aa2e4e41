#include "gui/files/OptionTextBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kyv::gui {

OptionTextBox::OptionTextBox(QWidget* parent) : QLineEdit(parent) { setMouseTracking(true); }

void OptionTextBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    emit clicked();
}

void OptionTextBox::mouseMoveEvent(QMouseEvent* event)
{
    if (motion_.MovedTo(event->globalPosition().toPoint()) && !hasFocus()) setFocus(Qt::MouseFocusReason);
    QLineEdit::mouseMoveEvent(event);
}

void OptionTextBox::leaveEvent(QEvent* event)
{
    motion_.Left();
    QLineEdit::leaveEvent(event);
}

void OptionTextBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit keyTyped();
        emit enterPressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
    if (!event->text().isEmpty()) emit keyTyped();
}

void HintLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit clicked();
}

}  // namespace kyv::gui
