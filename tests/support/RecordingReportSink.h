#pragma once

#include <functional>
#include <vector>

#include "core/common/ReportSink.h"

namespace kyv::test {

// Keeps the events and the report they render in memory. With a capacity set, an event whose text
// would pass it is refused, so tests can reach the buffer-full handling.
class RecordingReportSink final : public ReportSink {
public:
    bool Deliver(const ReportEvent& event) override;
    void PausePoint() override;
    void ReportBufferFull() override;
    bool StopRequested() const override { return stop; }
    void RequestStop() override { stop = true; }
    qsizetype AssuredRoom() const override;

    // The events delivered of one kind, in order.
    template <typename Event>
    [[nodiscard]] std::vector<Event> Delivered() const
    {
        std::vector<Event> found;
        for (const ReportEvent& event : events)
            if (const auto* e = std::get_if<Event>(&event)) found.push_back(*e);
        return found;
    }

    std::vector<ReportEvent> events;
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

    // What a report window would show, as the events leave it.
    int runStarts = 0;
    int runEnds = 0;
    bool copyButtonShown = false;
    bool hidden = false;
    QString status;
    bool progressShown = false;
    quint64 progressCalls = 0;
    quint64 lastProgressTotal = 0;

private:
    qsizetype progressTextLength_ = 0;
};

}  // namespace kyv::test
