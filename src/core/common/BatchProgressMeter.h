#pragma once
// A run's side of the batch progress: the walk tells it where a file's bytes have got to and when
// a file ends, and it tells the report sink how far the batch is, a few times a second; the sink
// hides the batch's progress when the run finishes. The time it counts leaves out what the run
// counts as paused (Pause, reading the purge advice).

#include <chrono>
#include <cstdint>

#include "core/common/BatchProgress.h"

namespace kyv {

class Clock;
class ReportSink;

class BatchProgressMeter {
public:
    // The sink hears of the batch this often at most as files end, and not before the run has gone
    // on this long: a run that is over in a moment shows nothing.
    static constexpr std::chrono::milliseconds kShowInterval{250};

    // `bytesTotal`: the inputs' sizes as counted before the run; 0 when unknown. `pausedSeconds`:
    // the run's count of the seconds it was paused, read at every update.
    BatchProgressMeter(std::uint64_t bytesTotal, const Clock& clock, const double& pausedSeconds,
                       ReportSink& sink);
    BatchProgressMeter(const BatchProgressMeter&) = delete;
    BatchProgressMeter& operator=(const BatchProgressMeter&) = delete;

    // The bytes of the file being worked on that are done so far. Past the first moments each call
    // is shown, so that the batch's figure and the file's, shown side by side, tell the same bytes;
    // the caller already calls it only a few dozen times a second.
    void FileProgress(std::uint64_t fileBytesDone);
    // The file is over, whatever came of it: its bytes count as done.
    void FileEnded(std::uint64_t fileBytes);

private:
    void Update(std::uint64_t bytesDone, bool everyCall);

    const Clock& clock_;
    const double& pausedSeconds_;
    ReportSink& sink_;
    BatchProgress progress_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point nextShow_;
    std::uint64_t endedBytes_ = 0;
    bool shown_ = false;
};

}  // namespace kyv
