#pragma once

#include <functional>

#include "core/common/ReportSink.h"

namespace kyv::test {

// Keeps the report in memory. With a capacity set, an append that would pass it is refused, so
// tests can reach the buffer-full handling.
class RecordingReportSink final : public ReportSink {
public:
    bool AppendReport(const QString& text, bool moveCaret) override;
    void RemoveReportTail(int count) override;
    void PausePoint() override;
    void ReportBufferFull() override;
    bool StopRequested() const override { return stop; }
    void RequestStop() override { stop = true; }

    QString text;
    qsizetype capacity = -1;  // -1: no limit
    bool suppressed = false;
    bool stop = false;
    int pausePoints = 0;
    int bufferFullCalls = 0;
    // Runs at every pause point (a test can request a stop after the n-th file, say).
    std::function<void(RecordingReportSink&)> onPausePoint;
};

}  // namespace kyv::test
