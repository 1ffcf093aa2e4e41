#include "support/RecordingReportSink.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/operation/ReportFormatter.h"

namespace kyv::test {

namespace {

RunStatus StatusOf(const QString& text)
{
    for (const RunStatus status : {RunStatus::Paused, RunStatus::Stopped, RunStatus::Done})
        if (text == StatusText(status)) return status;
    return RunStatus::None;
}

}  // namespace

bool RecordingReportSink::Deliver(const ReportEvent& event)
{
    if (std::holds_alternative<RunStartedEvent>(event)) {
        ++runStarts;
        text.clear();
        stop = false;
        suppressed = false;
        copyButtonShown = false;
        status.clear();
    }
    if (const auto* added = std::get_if<ReportTextEvent>(&event)) {
        if (added->place == ReportTextEvent::Place::NewReport) text.clear();
        if (added->place == ReportTextEvent::Place::InRoomMade) text.chop(kRoomForClosingLines);
    }
    if (const auto* progress = std::get_if<ProgressEvent>(&event);
        progress && progress->of == ProgressEvent::Of::FileBytes) {
        progressShown = true;
        ++progressCalls;
        lastProgressTotal = progress->fileBytesTotal;
    }
    if (std::holds_alternative<FileFinishedEvent>(event)) {
        text.chop(std::exchange(progressTextLength_, 0));
        progressShown = false;
    }
    if (const auto* shown = std::get_if<StatusEvent>(&event)) status = StatusText(shown->status);
    const QString added = ReportTextOf(event);
    if (!suppressed && !added.isEmpty()) {
        if (capacity >= 0 && text.size() + added.size() > capacity) return false;
        text += added;
        const auto* progress = std::get_if<ProgressEvent>(&event);
        if (progress != nullptr && progress->of == ProgressEvent::Of::FileWorkBegins)
            progressTextLength_ = added.size();
    }
    events.push_back(event);
    if (const auto* finished = std::get_if<RunFinishedEvent>(&event)) {
        ++runEnds;
        status = StatusText(StatusAfterRun(StatusOf(status), finished->result));
        copyButtonShown = finished->closingLines && !text.isEmpty();
        hidden = hidden || finished->result.duplicateOutputNames;
    }
    return true;
}

qsizetype RecordingReportSink::AssuredRoom() const
{
    if (!assureRoom) return 0;
    if (capacity < 0 || suppressed) return std::numeric_limits<qsizetype>::max();
    return std::max<qsizetype>(0, capacity - text.size());
}

void RecordingReportSink::PausePoint()
{
    ++pausePoints;
    if (onPausePoint) onPausePoint(*this);
}

void RecordingReportSink::ReportBufferFull()
{
    ++bufferFullCalls;
    if (onBufferFull)
        onBufferFull(*this);
    else
        stop = true;
}

}  // namespace kyv::test
