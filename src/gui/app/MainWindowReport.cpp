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
    // Closing a reliability test's comparison report brings back the setup from before the test.
    connect(report, &ReportWindow::ReliabilityReportClosed, this, &MainWindow::RestoreSetup);
}

void MainWindow::ShowReportScreen()
{
    if (report_ != nullptr) report_->ReportScreen();
}

}  // namespace kyv::gui
