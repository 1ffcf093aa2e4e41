#include "gui/operation/RunWindowWiring.h"

#include <QEventLoop>

#include "core/operation/RunController.h"
#include "gui/operation/ReportWindow.h"

namespace kyv::gui {

void WaitForRunEnd(RunController& controller)
{
    QEventLoop loop;
    QObject::connect(&controller, &RunController::RunEnded, &loop, &QEventLoop::quit);
    if (controller.Running()) loop.exec();
}

void AttachRunController(RunController& controller, ReportWindow& report)
{
    QObject::connect(&report, &ReportWindow::RunFlagsChanged, &controller, &RunController::Wake);
}

}  // namespace kyv::gui
