#include "gui/keys/FocusOnHover.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

#include "gui/common/PointerMotion.h"

namespace kyv::gui {

namespace {

class FocusOnHoverFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Leave) {
            motion_.Left();
        } else if (event->type() == QEvent::MouseMove) {
            const QPoint position = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            auto* control = static_cast<QWidget*>(watched);
            if (motion_.MovedTo(position) && control->isEnabled() && control->isVisible() &&
                !control->hasFocus())
                control->setFocus(Qt::MouseFocusReason);
        }
        return false;
    }

private:
    PointerMotion motion_;
};

}  // namespace

void GiveFocusOnHover(QWidget* control)
{
    control->setMouseTracking(true);
    control->installEventFilter(new FocusOnHoverFilter(control));
}

}  // namespace kyv::gui
