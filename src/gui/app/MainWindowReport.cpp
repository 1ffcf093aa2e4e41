// "Report screen" and the main window's side of the report window.

#include "core/operation/PurgeAdvice.h"
#include "gui/app/MainWindow.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/PurgeAdviceWindows.h"
#include "gui/operation/ReportWindow.h"
#include "gui/operation/RunWindowWiring.h"
#include "gui/reltest/ReliabilityTestClock.h"

namespace kyv::gui {

void MainWindow::BuildReportWindow()
{
    report_ = std::make_unique<ReportWindow>(context_.run, context_.setup, context_.values,
                                             services_.prompter, services_.clock, this);
    reportLaunch_ = std::make_unique<ReportWindowLaunch>(*report_, *report_, context_.run);
    if (wiring_.advisePurges) {
        purgeWindows_ = std::make_unique<PurgeAdviceWindows>(report_.get());
        purgeAdvice_ = std::make_unique<PurgeAdvice>(purgeWindows_.get());
    }
    if (wiring_.runController != nullptr) AttachRunController(*wiring_.runController, *report_);
    connect(report_.get(), &ReportWindow::StopPressed, reliabilityClock_, &ReliabilityTestClock::StopTest);
    // Closing a reliability test's comparison report brings back the setup from before the test.
    connect(report_.get(), &ReportWindow::ReliabilityReportClosed, this, &MainWindow::RestoreSetup);
}

LaunchReportWindow& MainWindow::LaunchReport()
{
    if (wiring_.reportWindow != nullptr) return *wiring_.reportWindow;
    return *reportLaunch_;
}

void MainWindow::ShowReportScreen() { report_->ReportScreen(); }

}  // namespace kyv::gui
