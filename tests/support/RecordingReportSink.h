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

    bool ReportSuppressed() const override { return suppressed; }
    void SetReportSuppressed(bool value) override { suppressed = value; }
    bool ReportEmpty() const override { return text.isEmpty(); }
    qsizetype AssuredRoom() const override;
    void RunStarted() override;
    void RunEnded() override { ++runEnds; }
    void ShrinkToShortReport() override { shrunk = true; }
    void ShowCopyButton() override { copyButtonShown = true; }
    void HideReport() override { hidden = true; }
    void SetStatusText(const QString& value) override { status = value; }
    QString StatusText() const override { return status; }
    void SetAutoScroll(bool on) override { autoScroll = on; }
    void ShowFileProgress(quint64 bytesDone, quint64 bytesTotal) override;
    void HideFileProgress() override { progressShown = false; }

    QString text;
    qsizetype capacity = -1;  // -1: no limit
    bool assureRoom = false;  // tells the room left as AssuredRoom, as the report window does
    bool suppressed = false;
    bool stop = false;
    int pausePoints = 0;
    int bufferFullCalls = 0;
    // Runs at every pause point (a test can request a stop after the n-th file, say).
    std::function<void(RecordingReportSink&)> onPausePoint;
    // Replaces the default buffer-full handling (a stop) when set.
    std::function<void(RecordingReportSink&)> onBufferFull;

    int runStarts = 0;
    int runEnds = 0;
    bool shrunk = false;
    bool copyButtonShown = false;
    bool hidden = false;
    bool autoScroll = false;
    QString status;
    bool progressShown = false;
    quint64 progressCalls = 0;
    quint64 lastProgressTotal = 0;
};

}  // namespace kyv::test
