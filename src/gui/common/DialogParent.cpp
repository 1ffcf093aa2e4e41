#include "gui/common/DialogParent.h"

#include <QApplication>
#include <QWidget>

namespace kyv::gui {

QWidget* DialogParent(const DialogOwner& owner)
{
    if (owner.window != nullptr || owner.windowName.isEmpty()) return owner.window;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == owner.windowName) return window;
    }
    return nullptr;
}

}  // namespace kyv::gui
