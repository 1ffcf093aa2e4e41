#include "cli/StandardOutputReport.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "cli/Interrupt.h"
#include "cli/TerminalOutput.h"
#include "core/common/BatchProgressText.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunState.h"

namespace kyv::cli {

StandardOutputReport::StandardOutputReport(RunState& state, TerminalOutput& output, Prompter& prompter,
                                           const Clock& clock, bool encrypting)
    : RunStateReportSink(state, prompter, clock), state_(state), output_(output), encrypting_(encrypting)
{
}

bool StandardOutputReport::Deliver(const ReportEvent& event)
{
    if (std::holds_alternative<RunStartedEvent>(event)) {
        // Nothing of an earlier run reaches standard output.
        NoteRunStarted();
        openLine_.clear();
        progressTextLength_ = 0;
        status_ = RunStatus::None;
    }
    if (const auto* text = std::get_if<ReportTextEvent>(&event);
        text && text->place != ReportTextEvent::Place::End) {
        // Only the unfinished line can be taken back; what has been written stays written.
        openLine_.chop(text->place == ReportTextEvent::Place::NewReport
                           ? openLine_.size()
                           : std::min<qsizetype>(kRoomForClosingLines, openLine_.size()));
        progressTextLength_ = 0;
    }
    if (std::holds_alternative<FileFinishedEvent>(event))
        openLine_.chop(std::min(std::exchange(progressTextLength_, 0), openLine_.size()));
    if (const auto* status = std::get_if<StatusEvent>(&event)) status_ = status->status;
    if (const auto* finished = std::get_if<RunFinishedEvent>(&event)) {
        status_ = StatusAfterRun(status_, finished->result);
        output_.SetBatchProgress(QString());
    }
    if (const auto* progress = std::get_if<ProgressEvent>(&event)) ShowProgress(*progress);
    const QStringList lines = ReportLinesOf(event);
    if (lines.isEmpty() || ReportSuppressed()) return true;
    if (const auto* progress = std::get_if<ProgressEvent>(&event);
        progress && progress->of == ProgressEvent::Of::FileWorkBegins)
        progressTextLength_ = lines.constFirst().size();
    const bool written = Write(lines);
    UpdateProgress();
    return written;
}

bool StandardOutputReport::Write(const QStringList& lines)
{
    openLine_ += lines.constFirst();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = std::exchange(openLine_, lines.at(i));
        if (!line.isEmpty()) lastLine_ = line;
        if (!output_.WriteReportLine(line)) return false;
    }
    return true;
}

void StandardOutputReport::BeforePausePoint()
{
    HandlePendingEvents();
}

QString StandardOutputReport::ProgressText() const
{
    // Between lines: the line just finished, unless the report itself is on the screen.
    if (openLine_.isEmpty()) return output_.ReportInView() ? QString() : lastLine_;
    return openLine_;
}

void StandardOutputReport::ShowProgress(const ProgressEvent& progress)
{
    switch (progress.of) {
        case ProgressEvent::Of::FileWorkBegins:
            break;
        case ProgressEvent::Of::FileBytes: {
            // A long file: Ctrl-C is answered now, not only after the file.
            HandlePendingEvents();
            const double total = static_cast<double>(progress.fileBytesTotal);
            output_.SetProgress(ProgressText(), progress.fileBytesTotal > 0
                                                    ? static_cast<double>(progress.fileBytesDone) / total
                                                    : 0.0);
            output_.RefreshProgress();
            break;
        }
        case ProgressEvent::Of::Batch:
            output_.SetBatchProgress(QStringLiteral("Batch ") + BatchProgressText(progress.batch));
            output_.RefreshProgress();
            break;
    }
}

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
        status_ = RunStatus::Stopped;
    }
    if (realRun && state_.control.stopRequested && status_ == RunStatus::Stopped && !stopAnnounced_) {
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
