#include "core/common/BatchProgressMeter.h"

#include "core/common/Clock.h"
#include "core/common/ReportSink.h"

namespace kyv {

BatchProgressMeter::BatchProgressMeter(std::uint64_t bytesTotal, const Clock& clock,
                                       const double& pausedSeconds, ReportSink& sink)
    : clock_(clock),
      pausedSeconds_(pausedSeconds),
      sink_(sink),
      progress_(bytesTotal),
      start_(clock.SteadyNow()),
      nextShow_(start_ + kShowInterval)
{
}

void BatchProgressMeter::FileProgress(std::uint64_t fileBytesDone)
{
    Update(endedBytes_ + fileBytesDone, true);
}

void BatchProgressMeter::FileEnded(std::uint64_t fileBytes)
{
    endedBytes_ += fileBytes;
    Update(endedBytes_, false);
}

void BatchProgressMeter::Update(std::uint64_t bytesDone, bool everyCall)
{
    const auto now = clock_.SteadyNow();
    const double workSeconds = std::chrono::duration<double>(now - start_).count() - pausedSeconds_;
    progress_.Update(workSeconds, bytesDone);
    if (now < nextShow_ && !(everyCall && shown_)) return;
    nextShow_ = now + kShowInterval;
    ProgressEvent shown;
    shown.of = ProgressEvent::Of::Batch;
    shown.batch = progress_.View();
    (void)sink_.Deliver(shown);
    shown_ = true;
}

}  // namespace kyv
