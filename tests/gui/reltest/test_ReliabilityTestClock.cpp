// The reliability test's slow timer and what the report window does differently for the test.

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/operation/RunState.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestClock.h"
#include "support/FakePrompter.h"

using namespace kyv;
using namespace kyv::gui;

namespace {
// A report window with the state and services it works with.
struct ReportStandIn {
    WorkingValues values;
    OperationSetup setup;
    RunState state;
    test::FakePrompter prompter;
    SystemClock systemClock;
    ReportWindow report{state, setup, values, prompter, systemClock};
};
}  // namespace

class TestReliabilityTestClock : public QObject {
    Q_OBJECT
private slots:
    void ticksWakeTheTestAndComeSoonerAfterTheFirst()
    {
        ReliabilityTestClock clock(nullptr);
        QSignalSpy due(&clock, &ReliabilityTestClock::NextPerformanceDue);
        QVERIFY(!clock.isActive());
        QCOMPARE(clock.interval(), 5000);
        clock.setInterval(10);
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(due.count(), 1, 30000);
        QCOMPARE(clock.interval(), 4000);
        QVERIFY(clock.isActive());
    }

    void stopInTheReportWindowWakesTheTestAndStopsTheClock()
    {
        ReportStandIn in;
        ReportWindow& report = in.report;
        ReliabilityTestClock clock(nullptr);
        QSignalSpy due(&clock, &ReliabilityTestClock::NextPerformanceDue);
        QObject::connect(&report, &ReportWindow::StopPressed, &clock, &ReliabilityTestClock::StopTest);
        clock.start();
        report.Stop();
        QCOMPARE(due.count(), 1);
        QVERIFY(!clock.isActive());
    }

    void theReportOffersNoPauseDuringTheTest()
    {
        for (const bool testRunning : {false, true}) {
            ReportStandIn in;
            ReportWindow& report = in.report;
            RunState& state = in.state;
            state.control.reliabilityTestRunning = testRunning;
            (void)report.Deliver(RunStartedEvent{});
            auto* pause = report.findChild<QPushButton*>(QStringLiteral("cmdPauseContinue"));
            QVERIFY(pause != nullptr);
            QCOMPARE(pause->isHidden(), testRunning);
            (void)report.Deliver(RunFinishedEvent{});
        }
    }

    void closingTheTestsReportHandsItBackInsteadOfStopping()
    {
        for (const bool testReport : {false, true}) {
            ReportStandIn in;
            ReportWindow& report = in.report;
            RunState& state = in.state;
            QSignalSpy handedBack(&report, &ReportWindow::ReliabilityReportClosed);
            report.show();
            state.control.reliabilityReport = testReport;
            report.CloseWindow();
            QVERIFY(!report.isVisible());
            QCOMPARE(handedBack.count(), testReport ? 1 : 0);
            QCOMPARE(state.control.stopRequested, !testReport);
            QVERIFY(!state.control.reliabilityReport);
        }
    }
};

QTEST_MAIN(TestReliabilityTestClock)
#include "test_ReliabilityTestClock.moc"
