// "Report screen" and the main window's side of the report window.

#include <QTimer>

#include "gui/app/frmMain.h"
#include "gui/operation/frmReport.h"

namespace kyv::gui {

void frmMain::SetReportWindow(frmReport* report)
{
    report_ = report;
    reportWindowVisible = [report] { return report->isVisible(); };
    // Stop wakes a reliability test waiting for its next key and stops the slow timer.
    connect(report, &frmReport::StopPressed, this, [this] {
        context_.values.blnGenerateNextKey = true;
        Clock_->stop();
    });
}

void frmMain::cmdReportScreen_MouseUp(int button)
{
    if (context_.values.blnIgnoreClicks)
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
