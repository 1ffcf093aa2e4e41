#pragma once
// How a run that the running reliability test launches differs from one the user launches: the
// test has asked its questions before it began, compares the files itself and reports once at its
// end. The launch and the report window ask here instead of reading the test's flags themselves.

namespace kyv {

// How a launch made by the running test ended; all but Ran end the test unfinished.
enum class TestLaunchEnd {
    Ran,                   // the run went through (it may have been stopped)
    CheckFailed,           // a check of the setup refused it
    DuplicateOutputNames,  // the output file specification gives two files one name
    NothingToProcess,      // the test files hold 0 bytes
    DriveUnreadable,
    InsufficientSpace,
};

// Whether "Do it!" asks for confirmation before the run.
[[nodiscard]] bool LaunchAsksConfirmation(bool reliabilityTestRunning);
// Whether a launch that ends before anything is processed (no space, nothing to do) stops the test.
[[nodiscard]] bool UnstartedLaunchStopsTest(bool reliabilityTestRunning);
// Whether the report window offers "Pause at next file" during the run.
[[nodiscard]] bool ReportOffersPause(bool reliabilityTestRunning);
// Closing the report window while it shows the test's report hands the window back to the test
// (which then restores the user's setup) instead of stopping a run. Clears `showingReport`; true
// when it was set.
[[nodiscard]] bool HandBackReliabilityReport(bool& showingReport);

}  // namespace kyv
