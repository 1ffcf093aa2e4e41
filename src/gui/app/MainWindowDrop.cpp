// Files and folders dropped on the main window, and those the program is started with.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QMimeData>
#include <QTimer>

#include "core/app/DropPlan.h"
#include "core/app/PathOpener.h"
#include "gui/app/MainWindow.h"

namespace kyv::gui {

namespace {

std::vector<platform::FilePath> DroppedPaths(const QDropEvent& event)
{
    const QMimeData* data = event.mimeData();
    if (data == nullptr || !data->hasUrls()) return {};
    return LocalPathsOf(data->urls());
}

}  // namespace

// A drop stands for the commands: refused where a click on them would do nothing.
bool MainWindow::TakesDrops() const
{
    return menuFrame_->isEnabled() && !context_.run.control.runInProgress && !context_.values.ignoreClicks;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (TakesDrops() && !DroppedPaths(*event).empty()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (TakesDrops() && !DroppedPaths(*event).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const std::vector<platform::FilePath> paths = DroppedPaths(*event);
    if (!TakesDrops() || paths.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drag source waits until the drop returns; a message the drop brings up comes after it.
    QTimer::singleShot(0, this, [this, paths] {
        PathOpener(model_, fileCommands_).Drop(paths);
        ShowLabels();
    });
}

void MainWindow::OpenPaths(const QStringList& arguments, StartFunction function)
{
    PathOpener(model_, fileCommands_).Open(arguments, function);
    ShowLabels();
}

}  // namespace kyv::gui
