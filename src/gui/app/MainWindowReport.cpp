// "Report screen" and the main window's side of the report window.

#include <QTimer>

#include "gui/app/MainWindow.h"
#include "gui/operation/ReportWindow.h"

namespace kyv::gui {

void MainWindow::SetReportWindow(ReportWindow* report)
{
    report_ = report;
    reportWindowVisible = [report] { return report->isVisible(); };
    // Stop wakes a reliability test waiting for its next key and stops the slow timer.
    connect(report, &ReportWindow::StopPressed, this, [this] {
        context_.values.generateNextKey = true;
        statusClock_->stop();
    });
}

void MainWindow::ShowReportScreen()
{
    if (report_ != nullptr)
        report_->ReportScreen();
}

}  // namespace kyv::gui
