#include "core/operation/BatchDriver.h"

#include "core/analysis/RandomnessListing.h"
#include "core/common/BatchProgressMeter.h"
#include "core/common/Clock.h"
#include "core/common/DirectionWord.h"
#include "core/common/LineBreak.h"
#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/files/FolderPath.h"
#include "core/operation/ElapsedText.h"
#include "core/operation/FolderProcessor.h"
#include "core/operation/OperationContext.h"
#include "core/operation/OperationWalk.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunController.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {

void RunRandomnessReport(OperationContext& c)
{
    RunState& state = c.state;
    const FilePath& folder = state.request.inputFolder;
    const QString& spec = state.request.inputSpec;
    state.pausedSeconds = 0.0;
    BatchProgressMeter progress(RandomnessListingBytes(folder, spec, c.setup.includeSubfolders), c.clock,
                                state.pausedSeconds, c.sink);
    ListFolderRandomness(folder, spec,
                         RandomnessListingContext{c.sink,
                                                  c.prompter,
                                                  c.working,
                                                  c.setup.includeSubfolders,
                                                  {},
                                                  &state.result.filesProcessed,
                                                  &progress});
}

double RunOperation(OperationContext& c)
{
    RunState& state = c.state;
    const QDateTime start = c.clock.Now();
    state.pausedSeconds = 0.0;
    if (c.purgeAdvice != nullptr) c.purgeAdvice->SwitchOn();
    c.protectedExtensions.InitProtectedExtensions();
    FolderProcessor(c).ProcessFolders();
    // Real time between the two instants, so that a run past midnight (or over days) is right.
    const double runSeconds = static_cast<double>(start.msecsTo(c.clock.Now())) / 1000.0;
    return runSeconds - state.pausedSeconds;
}

// The run's end with what its closing lines need (a reliability test's runs close nothing; a full
// report simply goes without them), then the message of a folder whose output names collide.
void CloseReport(OperationContext& c, double elapsedSeconds)
{
    RunState& state = c.state;
    RunFinishedEvent finished;
    finished.result = state.result;
    finished.closingLines = !state.control.reliabilityTestRunning;
    finished.operation = state.request.kind == RunKind::Operation;
    finished.encrypting = c.setup.Encrypts();
    finished.elapsedSeconds = elapsedSeconds;
    finished.now = c.clock.Now();
    (void)c.sink.Deliver(finished);
    if (state.result.duplicateOutputNames)
        c.prompter.Tell(DuplicateOutputNamesText(state.request.outputSpec), QStringLiteral("Error"),
                        MessageIcon::Exclamation);
}

}  // namespace

void ProcessFiles(OperationContext& c)
{
    if (c.runController != nullptr) {
        c.runController->Run(c);
        return;
    }
    if (c.state.control.runInProgress) return;
    struct RunInProgress {
        bool& flag;
        explicit RunInProgress(bool& f) : flag(f) { flag = true; }
        ~RunInProgress() { flag = false; }
    } running(c.state.control.runInProgress);
    ProcessFilesOnThisThread(c);
}

void ProcessFilesOnThisThread(OperationContext& c)
{
    RunState& state = c.state;
    ReportSink& sink = c.sink;
    state.result.duplicateOutputNames = false;
    if (state.request.kind == RunKind::Redisplay) {
        // The last report shown again: the status label is emptied.
        (void)sink.Deliver(StatusEvent{RunStatus::None});
        return;
    }
    state.ResetCounters();
    (void)sink.Deliver(RunStartedEvent{});
    double elapsedSeconds = 0.0;
    if (state.request.kind == RunKind::RandomnessListing)
        RunRandomnessReport(c);
    else
        elapsedSeconds = RunOperation(c);
    state.result.stopped = sink.StopRequested();
    CloseReport(c, elapsedSeconds);
}

}  // namespace kyv
