#include "gui/keys/FocusOnHover.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace kyv::gui {

namespace {

class FocusOnHoverFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
            auto* control = static_cast<QWidget*>(watched);
            if (control->isEnabled() && control->isVisible() && !control->hasFocus())
                control->setFocus(Qt::MouseFocusReason);
        }
        return false;
    }
};

}  // namespace

void GiveFocusOnHover(QWidget* control)
{
    control->setMouseTracking(true);
    control->installEventFilter(new FocusOnHoverFilter(control));
}

}  // namespace kyv::gui
