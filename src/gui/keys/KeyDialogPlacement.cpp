#include "gui/keys/KeyDialogPlacement.h"

#include <QWidget>

#include "gui/common/Twips.h"

namespace kyv::gui {

void PlaceAlongMainWindowBottom(QWidget* dialog, const QWidget* mainWindow)
{
    if (mainWindow == nullptr) return;
    const QRect main = mainWindow->frameGeometry();
    dialog->move(main.left(), main.top() + main.height() - dialog->frameGeometry().height() - Twips(120));
}

void PlaceInMainWindowCorner(QWidget* dialog, const QWidget* mainWindow)
{
    if (mainWindow == nullptr) return;
    const QRect main = mainWindow->frameGeometry();
    const QRect own = dialog->frameGeometry();
    dialog->move(main.left() + main.width() - own.width() - Twips(120),
                 main.top() + main.height() - own.height() - Twips(120));
}

}  // namespace kyv::gui
