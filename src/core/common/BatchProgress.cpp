#include "core/common/BatchProgress.h"

#include <algorithm>
#include <cmath>

namespace kyv {

int BatchProgressView::Percent() const
{
    if (bytesTotal == 0) return 0;
    if (bytesDone >= bytesTotal) return 100;
    // In floating point: the product of two large byte counts would overflow.
    const double share = static_cast<double>(bytesDone) / static_cast<double>(bytesTotal);
    return std::min(99, static_cast<int>(std::floor(share * 100.0)));
}

void BatchProgress::Update(double workSeconds, std::uint64_t bytesDone)
{
    workSeconds_ = std::max(workSeconds_, workSeconds);
    bytesDone_ = std::max(bytesDone_, bytesDone);
    const double interval = workSeconds_ - estimatedAt_;
    if (interval < kShortestInterval) return;
    Estimate(interval, bytesDone_ - bytesAtEstimate_);
    estimatedAt_ = workSeconds_;
    bytesAtEstimate_ = bytesDone_;
}

void BatchProgress::Estimate(double interval, std::uint64_t bytes)
{
    if (!warm_) {
        // Until the warm-up is over the speed is the average since the start; the smoothing then
        // starts from it rather than from nothing.
        speed_ = static_cast<double>(bytesDone_) / workSeconds_;
        warm_ = workSeconds_ >= kWarmUpSeconds && bytesDone_ > 0;
        if (warm_) secondsLeft_ = SecondsLeftEstimate();
        return;
    }
    // The rate of this interval weighs by its length: the same speed follows from many short
    // intervals as from one long one.
    const double weight = 1.0 - std::exp(-interval / kSpeedTimeConstant);
    speed_ += weight * (static_cast<double>(bytes) / interval - speed_);

    const std::optional<double> estimate = SecondsLeftEstimate();
    if (!estimate) {
        secondsLeft_.reset();
        return;
    }
    if (!secondsLeft_) {
        secondsLeft_ = estimate;
        return;
    }
    const double countedDown = std::max(0.0, *secondsLeft_ - interval);
    const double growth = interval * (kLargestGrowthPerSecond * countedDown + 1.0);
    const double shrinking = interval * (kLargestShrinkingPerSecond * countedDown + 1.0);
    secondsLeft_ = std::clamp(countedDown + std::clamp(*estimate - countedDown, -shrinking, growth), 0.0,
                              kLongestSecondsLeft);
}

std::optional<double> BatchProgress::SecondsLeftEstimate() const
{
    if (bytesTotal_ == 0) return std::nullopt;
    const std::uint64_t left = bytesTotal_ > bytesDone_ ? bytesTotal_ - bytesDone_ : 0;
    if (left == 0) return 0.0;
    // A stalled run has no end in sight: the shown time grows, as fast as it may.
    if (speed_ <= 0.0) return kLongestSecondsLeft;
    return std::min(kLongestSecondsLeft, static_cast<double>(left) / speed_);
}

BatchProgressView BatchProgress::View() const
{
    BatchProgressView view;
    view.bytesDone = bytesDone_;
    // A file that grew since it was counted: the total is at least what was done.
    view.bytesTotal = bytesTotal_ == 0 ? 0 : std::max(bytesTotal_, bytesDone_);
    if (warm_) {
        view.bytesPerSecond = speed_;
        // Between estimates the time left counts down.
        // Once every counted byte is done nothing is left, whatever the smoothed figure still says.
        const bool allDone = bytesTotal_ != 0 && bytesDone_ >= bytesTotal_;
        if (secondsLeft_)
            view.secondsLeft = allDone ? 0.0 : std::max(0.0, *secondsLeft_ - (workSeconds_ - estimatedAt_));
    }
    return view;
}

}  // namespace kyv
