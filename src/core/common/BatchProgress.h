#pragma once
// How far a batch of files is: the bytes done of the total that was counted before the run, the
// current speed and the time left. Fed with (time, bytes done) samples, where the time leaves out
// the pauses; nothing here reads a clock, so any sequence can be played to it.

#include <cstdint>
#include <optional>

namespace kyv {

struct BatchProgressView {
    std::uint64_t bytesDone = 0;
    // 0: the total is not known; there is then no percentage and no time left.
    std::uint64_t bytesTotal = 0;
    // Shown once there are a few seconds of samples.
    std::optional<double> bytesPerSecond;
    std::optional<double> secondsLeft;

    // Whole percent of the total, 100 only when everything is done; 0 without a total.
    [[nodiscard]] int Percent() const;
};

class BatchProgress {
public:
    // Speed and time left wait for this much time of work, and for the first bytes: the first
    // moments say little.
    static constexpr double kWarmUpSeconds = 3.0;
    // The speed follows the last few seconds of work, not the first or a single moment.
    static constexpr double kSpeedTimeConstant = 5.0;
    // Samples closer together than this are gathered into one: a file of a few bytes that took a
    // microsecond tells nothing of the speed on its own.
    static constexpr double kShortestInterval = 0.2;
    // Besides counting down, the time left shown moves toward the estimate by at most this share of
    // itself per second of work, and one second per second more, so it never jumps. It grows more
    // slowly than it shrinks: a stall may be over in a moment, and a good estimate should not wait.
    static constexpr double kLargestGrowthPerSecond = 0.1;
    static constexpr double kLargestShrinkingPerSecond = 0.5;
    // Longer than this the time left is not counted (a stalled batch).
    static constexpr double kLongestSecondsLeft = 100.0 * 3600.0;

    explicit BatchProgress(std::uint64_t bytesTotal) : bytesTotal_(bytesTotal) {}

    // `bytesDone` of the batch after `workSeconds` of work since its start. Times that go back and
    // byte counts that shrink are taken as no change.
    void Update(double workSeconds, std::uint64_t bytesDone);

    [[nodiscard]] BatchProgressView View() const;

private:
    void Estimate(double interval, std::uint64_t bytes);
    [[nodiscard]] std::optional<double> SecondsLeftEstimate() const;

    std::uint64_t bytesTotal_;
    std::uint64_t bytesDone_ = 0;
    double workSeconds_ = 0.0;
    // The last sample the estimates were moved to.
    double estimatedAt_ = 0.0;
    std::uint64_t bytesAtEstimate_ = 0;
    double speed_ = 0.0;
    bool warm_ = false;
    std::optional<double> secondsLeft_;
};

}  // namespace kyv
