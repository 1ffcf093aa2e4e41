#include "gui/common/KeyboardCommands.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

#include "gui/common/CommandButton.h"

namespace kyv::gui {

namespace {

bool IsEnter(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

class PressOnEnterFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (!IsEnter(key)) return false;
        auto* button = static_cast<QAbstractButton*>(watched);
        event->accept();
        if (!key.isAutoRepeat() && button->isEnabled() && button->isVisible()) button->click();
        return true;
    }
};

class CloseOnEscapeFilter final : public QObject {
public:
    CloseOnEscapeFilter(QObject* parent, std::function<void()> close)
        : QObject(parent), close_(std::move(close))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.key() != Qt::Key_Escape || key.modifiers() != Qt::NoModifier) return false;
        const auto* panel = static_cast<QWidget*>(watched);
        if (!panel->isVisible()) return false;
        event->accept();
        if (!key.isAutoRepeat()) close_();
        return true;
    }

private:
    std::function<void()> close_;
};

}  // namespace

void PressOnEnter(QAbstractButton* button) { button->installEventFilter(new PressOnEnterFilter(button)); }

void PressButtonsOnEnter(QWidget* window)
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (qobject_cast<CommandButton*>(button) == nullptr) PressOnEnter(button);
    }
}

void CloseOnEscape(QWidget* panel, std::function<void()> close)
{
    panel->installEventFilter(new CloseOnEscapeFilter(panel, std::move(close)));
}

}  // namespace kyv::gui
