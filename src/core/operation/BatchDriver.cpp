#include "core/operation/BatchDriver.h"

#include <cmath>

#include "core/common/Clock.h"
#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/common/DirectionWord.h"
#include "core/files/RandomnessListing.h"
#include "core/operation/ElapsedText.h"
#include "core/operation/FolderProcessor.h"
#include "core/operation/OperationContext.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/RunController.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
constexpr qint64 kWholeKilobytesAbove = 1023999;
constexpr int kDateLineBreaks = 2;

// Appends a closing line of the report; a full report simply goes without it.
void AppendClosing(OperationContext& c, const QString& text, int lineBreaks)
{
    (void)c.sink.AppendReport(text, false);
    c.state.reportLines += lineBreaks;
}

void AppendTotals(OperationContext& c, double elapsedSeconds)
{
    RunState& state = c.state;
    const auto word = [&c](const char* w) { return DirectionWord(c.setup.encrypt, QLatin1String(w)); };
    if (state.filesProcessed != 1)
        AppendClosing(c,
                      kLineBreak + QStringLiteral("Number of files processed: ") +
                          QString::number(state.filesProcessed) + kLineBreak,
                      2);
    if (!state.performingOperation) return;
    if (state.filesProcessed != 1 || state.filesDone != 1)
        AppendClosing(c,
                      QStringLiteral("Number of files ") + word("encrypted") + QStringLiteral(": ") +
                          QString::number(state.filesDone) + kLineBreak,
                      1);
    if (state.filesDone > 0) {
        const int decimals = state.bytesDone > kWholeKilobytesAbove ? 0 : 2;
        AppendClosing(c,
                      QStringLiteral("Total KB ") + word("encrypted") + QStringLiteral(": ") +
                          GroupedNumber(static_cast<double>(state.bytesDone) / 1024.0, decimals) +
                          kLineBreak,
                      1);
        if (elapsedSeconds > 3.0) {
            // Halves go to the even neighbour (the default rounding mode).
            const auto seconds = static_cast<std::int64_t>(std::nearbyint(elapsedSeconds));
            AppendClosing(c, QStringLiteral("Elapsed time: ") + FormatElapsed(seconds) + kLineBreak, 1);
        }
    }
}

// Passes the randomness listing through to the report and counts its file lines, which close with
// the file's size, so that the report can end with the number of files processed.
class ListedFileCounter final : public ReportSink {
public:
    ListedFileCounter(ReportSink& report, int& filesListed) : report_(report), filesListed_(filesListed) {}

    bool AppendReport(const QString& text, bool moveCaret) override
    {
        const bool appended = report_.AppendReport(text, moveCaret);
        if (appended && text.endsWith(QStringLiteral(" bytes)   \r\n"))) ++filesListed_;
        return appended;
    }
    void RemoveReportTail(int count) override { report_.RemoveReportTail(count); }
    void PausePoint() override { report_.PausePoint(); }
    void ReportBufferFull() override { report_.ReportBufferFull(); }
    bool StopRequested() const override { return report_.StopRequested(); }
    void RequestStop() override { report_.RequestStop(); }
    bool ReportSuppressed() const override { return report_.ReportSuppressed(); }
    void SetReportSuppressed(bool suppressed) override { report_.SetReportSuppressed(suppressed); }
    bool ReportEmpty() const override { return report_.ReportEmpty(); }
    void MoveCaretToEnd() override { report_.MoveCaretToEnd(); }
    void SetAutoScroll(bool on) override { report_.SetAutoScroll(on); }

private:
    ReportSink& report_;
    int& filesListed_;
};

void RunRandomnessReport(OperationContext& c)
{
    RunState& state = c.state;
    ListedFileCounter counter(c.sink, state.filesProcessed);
    // A copy: the walk rewrites nextFolder as it enters subfolders.
    const QString folder = state.nextFolder;
    ListFolderRandomness(
        folder, state.currentSpec,
        RandomnessListingContext{
            counter, c.prompter, c.working, c.setup.includeSubfolders, &state.nextFolder, {}});
}

double RunOperation(OperationContext& c)
{
    RunState& state = c.state;
    if (state.gatheringInputSizes) {
        // A total left from an earlier operation must not swell this one's estimate.
        state.totalInputSize = 0;
        FolderProcessor(c).ProcessFolder(state.inputFolder, state.inputSpec,
                                         state.outputFolder, state.outputSpec);
        return 0.0;
    }
    const QDateTime start = c.clock.Now();
    state.pausedSeconds = 0.0;
    if (c.purgeAdvice != nullptr) c.purgeAdvice->SwitchOn();
    c.protectedExtensions.InitProtectedExtensions();
    FolderProcessor(c).ProcessFolder(state.inputFolder, state.inputSpec, state.outputFolder,
                                     state.outputSpec);
    // Real time between the two instants, so that a run past midnight (or over days) is right.
    const double runSeconds = static_cast<double>(start.msecsTo(c.clock.Now())) / 1000.0;
    return runSeconds - state.pausedSeconds;
}

}  // namespace

void ProcessFiles(OperationContext& c)
{
    if (c.runController != nullptr) {
        c.runController->Run(c);
        return;
    }
    if (c.state.runInProgress) return;
    struct RunInProgress {
        bool& flag;
        explicit RunInProgress(bool& f) : flag(f) { flag = true; }
        ~RunInProgress() { flag = false; }
    } running(c.state.runInProgress);
    ProcessFilesOnThisThread(c);
}

void ProcessFilesOnThisThread(OperationContext& c)
{
    RunState& state = c.state;
    ReportSink& sink = c.sink;
    sink.SetStatusText(QString());
    state.operationResult = 0;
    sink.SetReportSuppressed(false);

    if (state.performingOperation || state.randomnessReport) {
        const bool sizePass = state.performingOperation && state.gatheringInputSizes;
        state.ResetCounters();
        sink.RunStarted();

        double elapsedSeconds = 0.0;
        if (state.randomnessReport) {
            RunRandomnessReport(c);
        } else {
            elapsedSeconds = RunOperation(c);
        }
        sink.RunEnded();

        const bool closingLines = !sizePass && !state.performingReliabilityTest;
        if (closingLines) {
            AppendTotals(c, elapsedSeconds);
            // The window fits the date line that closes the report too.
            sink.ShrinkToShortReport(state.reportLines + kDateLineBreaks);
        }
        if (state.operationResult == -1) {
            sink.HideReport();
            c.prompter.Tell(QStringLiteral("Output file specification \"") + state.outputSpec +
                                QStringLiteral("\" produces duplicate output filenames!"),
                            QStringLiteral("Error"), MessageIcon::Exclamation);
        }
        if (closingLines) {
            const QDateTime now = c.clock.Now();
            AppendClosing(c,
                          kLineBreak + UserLocale().toString(now.date(), QLocale::ShortFormat) +
                              QStringLiteral(", ") + now.time().toString(QStringLiteral("hh:mm")) +
                              kLineBreak,
                          kDateLineBreaks);
            if (!sink.ReportEmpty()) sink.ShowCopyButton();
        }
        const QString status = sink.StatusText();
        if (status != QLatin1String("Paused") && status != QLatin1String("Stopped") && !sizePass &&
            state.filesDone > 0)
            sink.SetStatusText(QStringLiteral("Done"));
    }
    if (!sink.ReportEmpty()) sink.MoveCaretToEnd();
}

}  // namespace kyv
