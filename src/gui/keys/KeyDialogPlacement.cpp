#include "gui/keys/KeyDialogPlacement.h"

#include <QWidget>

#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"

namespace kyv::gui {

int TypingDialogWidth(const QWidget* mainWindow)
{
    if (mainWindow == nullptr) return kTypingDialogDefaultWidth;
    return mainWindow->frameGeometry().width() - FrameExtra(mainWindow).width();
}

void PlaceAlongMainWindowBottom(QWidget* dialog, const QWidget* mainWindow)
{
    if (mainWindow == nullptr) return;
    const QRect main = mainWindow->frameGeometry();
    PlaceFrame(dialog,
               QPoint(main.left(),
                      main.top() + main.height() - FramedSize(dialog, mainWindow).height() - Twips(120)),
               mainWindow);
}

void PlaceInMainWindowCorner(QWidget* dialog, const QWidget* mainWindow)
{
    if (mainWindow == nullptr) return;
    const QRect main = mainWindow->frameGeometry();
    const QSize own = FramedSize(dialog, mainWindow);
    PlaceFrame(dialog,
               QPoint(main.left() + main.width() - own.width() - Twips(120),
                      main.top() + main.height() - own.height() - Twips(120)),
               mainWindow);
}

}  // namespace kyv::gui
