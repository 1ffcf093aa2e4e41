#include "support/RecordingReportSink.h"

namespace kyv::test {

bool RecordingReportSink::AppendReport(const QString& added, bool)
{
    if (suppressed)
        return true;
    if (capacity >= 0 && text.size() + added.size() > capacity)
        return false;
    text += added;
    return true;
}

void RecordingReportSink::RemoveReportTail(int count) { text.chop(count); }

void RecordingReportSink::PausePoint()
{
    ++pausePoints;
    if (onPausePoint)
        onPausePoint(*this);
}

void RecordingReportSink::ReportBufferFull()
{
    ++bufferFullCalls;
    stop = true;
}

}  // namespace kyv::test
