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

// Appends a closing line of the report; a full report simply goes without it.
void AppendClosing(OperationContext& c, const QString& text)
{
    (void)c.sink.AppendReport(text, false);
}

void AppendTotals(OperationContext& c, double elapsedSeconds)
{
    const QStringList lines = ClosingTotals(c.state.result, c.state.request.kind == RunKind::Operation,
                                            c.setup.Encrypts(), elapsedSeconds);
    for (const QString& line : lines) AppendClosing(c, line);
}

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

// Totals, the date line and the status after the walk; a reliability test's runs close nothing.
void CloseReport(OperationContext& c, double elapsedSeconds)
{
    RunState& state = c.state;
    ReportSink& sink = c.sink;
    const bool closingLines = !state.control.reliabilityTestRunning;
    if (closingLines) {
        AppendTotals(c, elapsedSeconds);
        sink.ShrinkToShortReport();
    }
    if (state.result.duplicateOutputNames) {
        sink.HideReport();
        c.prompter.Tell(DuplicateOutputNamesText(state.request.outputSpec), QStringLiteral("Error"),
                        MessageIcon::Exclamation);
    }
    if (closingLines) {
        AppendClosing(c, ClosingDateLine(c.clock.Now()));
        if (!sink.ReportEmpty()) sink.ShowCopyButton();
    }
    const QString status = sink.StatusText();
    if (status != QLatin1String("Paused") && status != QLatin1String("Stopped") && state.result.filesDone > 0)
        sink.SetStatusText(QStringLiteral("Done"));
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
    sink.SetStatusText(QString());
    state.result.duplicateOutputNames = false;
    sink.SetReportSuppressed(false);

    if (state.request.kind != RunKind::Redisplay) {
        state.ResetCounters();
        sink.RunStarted();
        double elapsedSeconds = 0.0;
        if (state.request.kind == RunKind::RandomnessListing)
            RunRandomnessReport(c);
        else
            elapsedSeconds = RunOperation(c);
        state.result.stopped = sink.StopRequested();
        sink.RunEnded();
        CloseReport(c, elapsedSeconds);
    }
    if (!sink.ReportEmpty()) sink.MoveCaretToEnd();
}

}  // namespace kyv
