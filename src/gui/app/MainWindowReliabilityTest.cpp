// The reliability test on the main window: the offer in "Do it!", and the test driven through the
// main window's own commands, its slow clock and the report window.

#include <QEventLoop>
#include <QLabel>
#include <QPushButton>

#include "core/common/ProgramText.h"
#include "core/launch/LaunchReportWindow.h"
#include "core/reltest/ReliabilityTest.h"
#include "core/reltest/ReliabilityTestHost.h"
#include "gui/app/MainWindow.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestClock.h"
#include "gui/reltest/ReliabilityTestDialog.h"

namespace kyv::gui {

namespace {

// Where the dialog sits: below the top of the command column, at the main window's right edge.
constexpr int kDialogBelowMenuTop = 1990;
// Where the label that says the test runs sits.
constexpr int kProgressLeft = 5000;
constexpr int kProgressTop = 3400;
constexpr int kProgressWidth = 4000;
constexpr int kProgressHeight = 285;
constexpr int kProgressTextNumber = 5;

}  // namespace

class MainWindow::ReliabilityTestWindows final : public ReliabilityTestHost {
public:
    explicit ReliabilityTestWindows(MainWindow& window) : w_(window) {}

    void SnapshotSetup() override { w_.SnapshotSetup(); }
    void RestoreSetup() override { w_.RestoreSetup(); }
    void ApplySetupFlags(Direction direction, bool inPlace, bool includeSubfolders) override
    {
        w_.ApplySetupFlags(direction, inPlace, includeSubfolders);
    }
    void PerformFunction() override { w_.ToggleFunction(); }
    void CopyInputSideToOutput() override
    {
        w_.model_.CopyInputSideToOutput();
        w_.ShowLabels();
    }
    void RefreshFilesStatus() override
    {
        w_.model_.RefreshFilesStatus();
        w_.ShowLabels();
    }
    TestLaunchEnd Launch() override
    {
        const LaunchResult result = w_.Launch();
        w_.reliabilityLaunchAbandoned = false;
        return TestLaunchEndOf(result);
    }

    void ShowTestRunning(bool running) override
    {
        w_.menuFrame_->setEnabled(!running);
        QLabel*& label = w_.reliabilityProgressLabel_;
        if (label == nullptr) {
            label = new QLabel(QStringLiteral("Performing reliability test ..."), &w_);
            label->setObjectName(QStringLiteral("lblPerformingReliabilityTest"));
            MakeValueLabel(label);
            label->hide();
        }
        const QString caption = GetText(kProgressTextNumber);
        if (!caption.isEmpty()) label->setText(caption);
        label->setGeometry(TwipsRect(kProgressLeft, kProgressTop, kProgressWidth, kProgressHeight));
        label->setVisible(running);
        label->raise();
        w_.repaint();
    }

    void WaitForNextPerformance() override
    {
        if (w_.context_.run.control.stopRequested) return;
        // The clock's tick, or Stop in the report window, ends the wait.
        QEventLoop wait;
        QObject::connect(w_.reliabilityClock_, &ReliabilityTestClock::NextPerformanceDue, &wait,
                         &QEventLoop::quit);
        w_.reliabilityClock_->start();
        wait.exec();
        w_.reliabilityClock_->stop();
        // Quitting the program ends the wait too; no performance may follow the engine's release.
        if (w_.shutDownDone_) w_.context_.run.control.stopRequested = true;
    }

    void SetReportCaption(const QString& caption) override { w_.LaunchReport().SetCaption(caption); }
    void OfferStop(const QString& caption) override
    {
        QPushButton* stop = ReportButton("cmdStop");
        if (stop != nullptr && !caption.isEmpty()) stop->setText(caption);
        ShowButtons(stop, ReportButton("cmdClose"));
    }
    void OfferClose() override { ShowButtons(ReportButton("cmdClose"), ReportButton("cmdStop")); }
    void FocusReport() override
    {
        if (!w_.report_->isVisible()) return;
        w_.report_->raise();
        w_.report_->activateWindow();
    }

private:
    QPushButton* ReportButton(const char* name) const
    {
        return w_.report_->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static void ShowButtons(QPushButton* shown, QPushButton* hidden)
    {
        if (hidden != nullptr) hidden->hide();
        if (shown != nullptr) shown->show();
    }

    MainWindow& w_;
};

ReliabilityTestChoice MainWindow::OfferReliabilityTest()
{
    if (reliabilityDialog_ == nullptr) reliabilityDialog_ = new ReliabilityTestDialog(this);
    ReliabilityTestDialog& dialog = *reliabilityDialog_;
    dialog.Prepare(context_.setup.inPlace);
    dialog.move(x() + width() - dialog.width(), y() + menuFrame_->y() + Twips(kDialogBelowMenuTop));
    ShowModal(dialog);
    repaint();
    const ReliabilityTestDialog::Answer& answer = dialog.Result();
    if (answer.cancelled) return ReliabilityTestChoice::Cancelled;
    if (!answer.performTest) return ReliabilityTestChoice::NotTested;
    if (answer.performances > 0) RunReliabilityTest(answer.performances);
    return ReliabilityTestChoice::Tested;
}

void MainWindow::RunReliabilityTest(int performances)
{
    ReliabilityTestWindows windows(*this);
    ReliabilityTest test({windows, context_.setup, context_.key, LaunchReport().State(),
                          LaunchReport().Sink(), services_.prompter});
    (void)test.Run(performances);
}

}  // namespace kyv::gui
