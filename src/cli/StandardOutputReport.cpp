#include "cli/StandardOutputReport.h"

#include "cli/Interrupt.h"
#include "cli/TerminalOutput.h"
#include "core/common/LineBreak.h"
#include "core/operation/RunState.h"

namespace kyv::cli {

namespace {

}  // namespace

StandardOutputReport::StandardOutputReport(RunState& state, TerminalOutput& output, Prompter& prompter,
                                           const Clock& clock, bool encrypting)
    : RunStateReportSink(state, prompter, clock), state_(state), output_(output), encrypting_(encrypting)
{
}

bool StandardOutputReport::AppendReport(const QString& text, bool /*moveCaret*/)
{
    if (state_.control.reportSuppressed) return true;
    openLine_ += text;
    const bool written = WriteCompleteLines();
    UpdateProgress();
    return written;
}

bool StandardOutputReport::WriteCompleteLines()
{
    qsizetype end = openLine_.indexOf(kLineBreak);
    while (end >= 0) {
        const QString line = openLine_.left(end);
        openLine_.remove(0, end + kLineBreak.size());
        if (!line.isEmpty()) lastLine_ = line;
        written_ = true;
        if (!output_.WriteReportLine(line)) return false;
        end = openLine_.indexOf(kLineBreak);
    }
    return true;
}

void StandardOutputReport::RemoveReportTail(int count)
{
    // Only the unfinished line can be taken back; what has been written stays written.
    openLine_.chop(std::min<qsizetype>(count, openLine_.size()));
    UpdateProgress();
}

void StandardOutputReport::BeforePausePoint()
{
    HandlePendingEvents();
}

void StandardOutputReport::RunStarted()
{
    // Nothing of an earlier run reaches standard output.
    openLine_.clear();
    status_.clear();
}

QString StandardOutputReport::ProgressText() const
{
    // Between lines: the line just finished, unless the report itself is on the screen.
    if (openLine_.isEmpty()) return output_.ReportInView() ? QString() : lastLine_;
    return openLine_;
}

void StandardOutputReport::ShowFileProgress(quint64 bytesDone, quint64 bytesTotal)
{
    // A long file: Ctrl-C is answered now, not only after the file.
    HandlePendingEvents();
    output_.SetProgress(ProgressText(), bytesTotal > 0
                                            ? static_cast<double>(bytesDone) / static_cast<double>(bytesTotal)
                                            : 0.0);
    output_.RefreshProgress();
}

void StandardOutputReport::HideFileProgress() { UpdateProgress(); }

void StandardOutputReport::ShowModeless()
{
    if (InterruptRequested()) throw RunAbandoned{};
}

void StandardOutputReport::HandlePendingEvents()
{
    const bool realRun = state_.control.runInProgress;
    if (realRun && InterruptRequested() && !state_.control.stopRequested) {
        // What "Stop" does in the report window.
        state_.control.stopRequested = true;
        status_ = QStringLiteral("Stopped");
    }
    if (realRun && state_.control.stopRequested && status_ == QLatin1String("Stopped") && !stopAnnounced_) {
        stopAnnounced_ = true;
        output_.WriteMessage(
            QStringLiteral("kyv: Stopping after the current file (Ctrl-C again ends at once)."));
    }
    output_.RefreshProgress();
}

void StandardOutputReport::Finish()
{
    if (!openLine_.isEmpty()) (void)output_.WriteReportText(openLine_);
    openLine_.clear();
    output_.ClearProgress();
}

void StandardOutputReport::UpdateProgress()
{
    output_.SetProgress(ProgressText(), std::nullopt);
    output_.RefreshProgress();
}

}  // namespace kyv::cli
