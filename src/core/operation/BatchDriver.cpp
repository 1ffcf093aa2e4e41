#include "core/operation/BatchDriver.h"

#include <cmath>

#include "core/common/Clock.h"
#include "core/common/Events.h"
#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/common/TxtEncDec.h"
#include "core/files/RandomnessListing.h"
#include "core/operation/ElapsedText.h"
#include "core/operation/FolderProcessor.h"
#include "core/operation/OperationContext.h"
#include "core/operation/PurgeAdvice.h"
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
    c.state.intReportLines += lineBreaks;
}

void AppendTotals(OperationContext& c, double elapsedSeconds)
{
    RunState& state = c.state;
    const auto word = [&c](const char* w) { return TxtEncDec(c.setup.blnEncrypt, QLatin1String(w)); };
    if (state.intFilesProcessed != 1)
        AppendClosing(c,
                      kLineBreak + QStringLiteral("Number of files processed: ") +
                          QString::number(state.intFilesProcessed) + kLineBreak,
                      2);
    if (!state.blnPerformingOperation) return;
    if (state.intFilesProcessed != 1 || state.intFilesDone != 1)
        AppendClosing(c,
                      QStringLiteral("Number of files ") + word("encrypted") + QStringLiteral(": ") +
                          QString::number(state.intFilesDone) + kLineBreak,
                      1);
    if (state.intFilesDone > 0) {
        const int decimals = state.lngBytesDone > kWholeKilobytesAbove ? 0 : 2;
        AppendClosing(c,
                      QStringLiteral("Total KB ") + word("encrypted") + QStringLiteral(": ") +
                          GroupedNumber(static_cast<double>(state.lngBytesDone) / 1024.0, decimals) +
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
    ListedFileCounter(ReportSink& report, int& filesListed) : m_report(report), m_filesListed(filesListed) {}

    bool AppendReport(const QString& text, bool moveCaret) override
    {
        const bool appended = m_report.AppendReport(text, moveCaret);
        if (appended && text.endsWith(QStringLiteral(" bytes)   \r\n"))) ++m_filesListed;
        return appended;
    }
    void RemoveReportTail(int count) override { m_report.RemoveReportTail(count); }
    void PausePoint() override { m_report.PausePoint(); }
    void ReportBufferFull() override { m_report.ReportBufferFull(); }
    bool StopRequested() const override { return m_report.StopRequested(); }
    void RequestStop() override { m_report.RequestStop(); }
    bool ReportSuppressed() const override { return m_report.ReportSuppressed(); }
    void SetReportSuppressed(bool suppressed) override { m_report.SetReportSuppressed(suppressed); }
    bool ReportEmpty() const override { return m_report.ReportEmpty(); }
    void MoveCaretToEnd() override { m_report.MoveCaretToEnd(); }
    void SetAutoScroll(bool on) override { m_report.SetAutoScroll(on); }

private:
    ReportSink& m_report;
    int& m_filesListed;
};

void RunRandomnessReport(OperationContext& c)
{
    RunState& state = c.state;
    ListedFileCounter counter(c.sink, state.intFilesProcessed);
    // A copy: the walk rewrites strNextDirPath as it enters subfolders.
    const QString folder = state.strNextDirPath;
    ListFolderRandomness(
        folder, state.strCurrentFileSpec,
        RandomnessListingContext{
            counter, c.prompter, c.working, c.setup.blnSubdirectories, &state.strNextDirPath, {}});
}

double RunOperation(OperationContext& c)
{
    RunState& state = c.state;
    if (state.blnGettingInputFilesizes) {
        // A total left from an earlier operation must not swell this one's estimate.
        state.lngTotalInputFilesize = 0;
        FolderProcessor(c).ProcessFolder(state.strInputDirpath, state.strInputFilespec,
                                         state.strOutputDirpath, state.strOutputFilespec);
        return 0.0;
    }
    const QDateTime start = c.clock.Now();
    state.sngPausedSeconds = 0.0;
    if (c.purgeAdvice != nullptr) c.purgeAdvice->SwitchOn();
    c.protectedExtensions.InitProtectedExtensions();
    FolderProcessor(c).ProcessFolder(state.strInputDirpath, state.strInputFilespec, state.strOutputDirpath,
                                     state.strOutputFilespec);
    // Real time between the two instants, so that a run past midnight (or over days) is right.
    const double runSeconds = static_cast<double>(start.msecsTo(c.clock.Now())) / 1000.0;
    return runSeconds - state.sngPausedSeconds;
}

}  // namespace

void ProcessFiles(OperationContext& c)
{
    RunState& state = c.state;
    ReportSink& sink = c.sink;
    if (state.blnRunInProgress) return;
    struct RunInProgress {
        bool& flag;
        explicit RunInProgress(bool& f) : flag(f) { flag = true; }
        ~RunInProgress() { flag = false; }
    } running(state.blnRunInProgress);
    sink.SetStatusText(QString());
    state.intOperationResult = 0;
    sink.SetReportSuppressed(false);

    if (state.blnPerformingOperation || state.blnRandomnessReport) {
        const bool sizePass = state.blnPerformingOperation && state.blnGettingInputFilesizes;
        state.ResetCounters();
        sink.RunStarted();
        ProcessPendingEvents();

        double elapsedSeconds = 0.0;
        if (state.blnRandomnessReport) {
            RunRandomnessReport(c);
        } else {
            elapsedSeconds = RunOperation(c);
        }
        sink.RunEnded();

        const bool closingLines = !sizePass && !state.blnPerformingReliabilityTest;
        if (closingLines) {
            AppendTotals(c, elapsedSeconds);
            // The window fits the date line that closes the report too.
            sink.ShrinkToShortReport(state.intReportLines + kDateLineBreaks);
        }
        if (state.intOperationResult == -1) {
            sink.HideReport();
            c.prompter.Tell(QStringLiteral("Output file specification \"") + state.strOutputFilespec +
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
            state.intFilesDone > 0)
            sink.SetStatusText(QStringLiteral("Done"));
    }
    if (!sink.ReportEmpty()) sink.MoveCaretToEnd();
}

}  // namespace kyv
