#include "core/reltest/ReliabilityTestRuns.h"

namespace kyv {

bool LaunchAsksConfirmation(bool reliabilityTestRunning) { return !reliabilityTestRunning; }

bool UnstartedLaunchStopsTest(bool reliabilityTestRunning) { return reliabilityTestRunning; }

bool ReportOffersPause(bool reliabilityTestRunning) { return !reliabilityTestRunning; }

bool HandBackReliabilityReport(bool& showingReport)
{
    if (!showingReport) return false;
    showingReport = false;
    return true;
}

}  // namespace kyv
