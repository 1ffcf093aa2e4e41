#pragma once
// "Do it!" without its window: the checks in their order, the confirmation, the disk-space check,
// the key brought to its full length, and the run. The main window and the command-line tool both
// launch through here; the tool leaves out the confirmation and the reliability-test offer.

#include <QString>
#include <functional>

#include "core/launch/DiskSpaceCheck.h"
#include "core/reltest/ReliabilityTestOffer.h"
#include "core/reltest/ReliabilityTestRuns.h"

namespace kyv {

class Confirmer;
class LaunchReportWindow;
class PurgeAdvice;
class RunController;
struct KeyState;
struct OperationSetup;
struct Services;
struct WorkingValues;

// What one launch works with: the window's setup, values and key, the report window it runs in,
// and the program's services.
struct LaunchContext {
    OperationSetup& setup;
    WorkingValues& working;
    const KeyState& key;
    LaunchReportWindow& report;
    const Services& services;
    // Advice before a watched file is purged; none: no advice.
    PurgeAdvice* purgeAdvice = nullptr;
    // Runs the run off the calling thread; none: on it.
    RunController* runController = nullptr;
};

struct LaunchHooks {
    // Performs "Output file(s) same?" as a left click; empty: the flag alone is inverted.
    std::function<void()> performOutputFilesSame;
    // Offers the reliability test when the setup names its files; empty: no offer, the launch
    // goes on as an ordinary encryption.
    std::function<ReliabilityTestChoice()> offerReliabilityTest;
    // Asks before the run; none: no question (the command-line tool, the reliability test).
    Confirmer* confirmer = nullptr;
};

enum class LaunchOutcome {
    Busy,                // a run is in progress; nothing was done
    CheckFailed,         // a check told the user why and stopped
    ReliabilityTestRan,  // the offer was taken or cancelled; no operation ran
    NotConfirmed,
    NotStarted,  // the disk-space check stopped the launch
    Ran,
};

struct LaunchResult {
    LaunchOutcome outcome = LaunchOutcome::CheckFailed;
    // A launch made by a running reliability test ended without processing: the test stops.
    bool abortReliabilityTest = false;
    // What the disk-space check found when it stopped the launch.
    DiskSpaceVerdict space = DiskSpaceVerdict::NotChecked;
    // The space the disk-space check estimated the output needs (0 when it was not checked).
    qint64 requiredBytes = 0;
};

// How a launch made by the running reliability test ended, for the test's report.
[[nodiscard]] TestLaunchEnd TestLaunchEndOf(const LaunchResult& result);

[[nodiscard]] LaunchResult LaunchOperation(const LaunchContext& launch, const LaunchHooks& hooks);

}  // namespace kyv
