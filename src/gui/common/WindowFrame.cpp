#include "gui/common/WindowFrame.h"

#include <QWidget>

namespace kyv::gui {

QSize FrameExtra(const QWidget* framedWindow)
{
    if (framedWindow == nullptr) return {};
    return framedWindow->frameGeometry().size() - framedWindow->size();
}

QSize FramedSize(const QWidget* window, const QWidget* framedWindow)
{
    const QSize own = window->frameGeometry().size();
    if (own != window->size()) return own;
    return window->size() + FrameExtra(framedWindow);
}

void PlaceFrame(QWidget* window, const QPoint& frameTopLeft, const QWidget* framedWindow)
{
    if (window->frameGeometry() != window->geometry() || framedWindow == nullptr) {
        window->move(frameTopLeft);
        return;
    }
    const QPoint inside = framedWindow->geometry().topLeft() - framedWindow->frameGeometry().topLeft();
    window->setGeometry(QRect(frameTopLeft + inside, window->size()));
}

Qt::WindowFlags DialogFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

Qt::WindowFlags FixedSizeWindowFlags()
{
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}

}  // namespace kyv::gui
