// "Report screen" and the main window's side of the report window.

#include "gui/app/MainWindow.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestClock.h"

namespace kyv::gui {

void MainWindow::SetReportWindow(ReportWindow* report)
{
    report_ = report;
    reportWindowVisible = [report] { return report->isVisible(); };
    connect(report, &ReportWindow::StopPressed, reliabilityClock_, &ReliabilityTestClock::StopTest);
}

void MainWindow::ShowReportScreen()
{
    if (report_ != nullptr) report_->ReportScreen();
}

}  // namespace kyv::gui
