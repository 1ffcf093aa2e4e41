// "Report screen" and the main window's side of the report window.

#include <QTimer>

#include "gui/app/MainWindow.h"
#include "gui/operation/ReportWindow.h"

namespace kyv::gui {

void MainWindow::SetReportWindow(ReportWindow* report)
{
    report_ = report;
    reportWindowVisible = [report] { return report->isVisible(); };
    // Stop ends the wait between reliability-test performances: the slow timer stops.
    connect(report, &ReportWindow::StopPressed, this, [this] { statusClock_->stop(); });
}

void MainWindow::cmdReportScreen_MouseUp(int button)
{
    if (context_.values.ignoreClicks)
        return;
    if (button == 2) {
        intStartHeading = InfoOf(MainCommand::ReportScreen).helpSection;
        ShowHelp();
        return;
    }
    if (report_ != nullptr)
        report_->ReportScreen();
}

}  // namespace kyv::gui
