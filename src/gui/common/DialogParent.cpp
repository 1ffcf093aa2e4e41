#include "gui/common/DialogParent.h"

#include <QApplication>
#include <QWidget>

namespace kyv::gui {

QWidget* DialogParent(QWidget* parent)
{
    if (parent != nullptr) return parent;
    QWidget* window = QApplication::activeWindow();
    while (window != nullptr && window->parentWidget() != nullptr) window = window->parentWidget()->window();
    return window;
}

}  // namespace kyv::gui
