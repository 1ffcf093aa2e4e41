#include "support/RecordingReportSink.h"

#include <algorithm>
#include <limits>

namespace kyv::test {

bool RecordingReportSink::AppendReport(const QString& added, bool)
{
    if (suppressed) return true;
    if (capacity >= 0 && text.size() + added.size() > capacity) return false;
    text += added;
    return true;
}

qsizetype RecordingReportSink::AssuredRoom() const
{
    if (!assureRoom) return 0;
    if (capacity < 0) return std::numeric_limits<qsizetype>::max();
    return std::max<qsizetype>(0, capacity - text.size());
}

void RecordingReportSink::RemoveReportTail(int count) { text.chop(count); }

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

void RecordingReportSink::RunStarted()
{
    ++runStarts;
    text.clear();
    stop = false;
    autoScroll = true;
    copyButtonShown = false;
}

void RecordingReportSink::ShowFileProgress(quint64, quint64 bytesTotal)
{
    progressShown = true;
    ++progressCalls;
    lastProgressTotal = bytesTotal;
}

}  // namespace kyv::test
