#pragma once
// What the reliability test drives: the main window's own commands (so that its labels follow
// every change the test makes), "Do it!", the wait between performances and the report window's
// buttons. The main window implements it; tests launch on real files and script the wait.

#include <QString>

#include "core/common/OperationSetup.h"
#include "core/reltest/ReliabilityTestRuns.h"

namespace kyv {

class ReliabilityTestHost {
public:
    virtual ~ReliabilityTestHost() = default;

    // "Restore setup" brings back the setup recorded here, with the key unspecified.
    virtual void SnapshotSetup() = 0;
    virtual void RestoreSetup() = 0;
    // Function, Output file(s) same? and Subfolders? through their commands.
    virtual void ApplySetupFlags(Direction direction, bool inPlace, bool includeSubfolders) = 0;
    // "Function" as a left click.
    virtual void PerformFunction() = 0;
    // The output folder and specification become the input ones.
    virtual void CopyInputSideToOutput() = 0;
    // The status lines after the test changed a file specification.
    virtual void RefreshFilesStatus() = 0;
    // "Do it!" as a left click; returns when the run has ended.
    virtual TestLaunchEnd Launch() = 0;

    // While the test runs the commands are disabled and a label says that it runs.
    virtual void ShowTestRunning(bool running) = 0;
    // Returns when the next performance is due, or at once when Stop is pressed meanwhile.
    virtual void WaitForNextPerformance() = 0;

    // The report window.
    virtual void SetReportCaption(const QString& caption) = 0;
    // Between performances: Stop offered (with `caption`, or the one it had when empty), no Close.
    virtual void OfferStop(const QString& caption) = 0;
    // After the test: Close offered, no Stop.
    virtual void OfferClose() = 0;
    virtual void FocusReport() = 0;
};

}  // namespace kyv
