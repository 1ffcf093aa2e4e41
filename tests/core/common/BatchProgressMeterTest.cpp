#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

#include "core/common/BatchProgressMeter.h"
#include "core/common/Clock.h"
#include "core/common/ReportSink.h"

namespace kyv {
namespace {

using std::chrono::milliseconds;

class ScriptedClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2024, 3, 14), QTime(10, 0)); }
    std::chrono::steady_clock::time_point SteadyNow() const override { return now; }
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
};

// Keeps what the meter showed, and when.
class ProgressSink final : public ReportSink {
public:
    explicit ProgressSink(const ScriptedClock& clock) : clock_(clock) {}
    bool Deliver(const ReportEvent& event) override
    {
        const auto* progress = std::get_if<ProgressEvent>(&event);
        if (progress != nullptr && progress->of == ProgressEvent::Of::Batch)
            shown.push_back({clock_.now, progress->batch});
        else
            ++others;
        return true;
    }
    void PausePoint() override {}
    void ReportBufferFull() override {}
    bool StopRequested() const override { return false; }
    void RequestStop() override {}

    struct Shown {
        std::chrono::steady_clock::time_point at;
        BatchProgressView view;
    };
    std::vector<Shown> shown;
    // Events that are no batch progress: the meter sends none.
    int others = 0;

private:
    const ScriptedClock& clock_;
};

constexpr std::uint64_t kFile = 10u * 1024 * 1024;

// Twenty files of 10 MB, one a second; with `pauseSeconds`, a pause after the tenth (as the run
// counts it: the clock goes on, and the run's paused seconds with it). What was shown last.
BatchProgressView RunTwentyFiles(double pauseSeconds)
{
    ScriptedClock clock;
    double pausedSeconds = 0.0;
    ProgressSink sink(clock);
    {
        BatchProgressMeter meter(30 * kFile, clock, pausedSeconds, sink);
        for (int i = 0; i < 20; ++i) {
            if (i == 10) {
                clock.now += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    std::chrono::duration<double>(pauseSeconds));
                pausedSeconds += pauseSeconds;
            }
            clock.now += milliseconds(1000);
            meter.FileEnded(kFile);
        }
    }
    EXPECT_EQ(sink.others, 0);
    return sink.shown.back().view;
}

TEST(BatchProgressMeter, APauseCountsNeitherAsWorkNorAsAStall)
{
    const BatchProgressView steady = RunTwentyFiles(0.0);
    ASSERT_TRUE(steady.bytesPerSecond && steady.secondsLeft);
    EXPECT_NEAR(*steady.bytesPerSecond, static_cast<double>(kFile), 0.01 * kFile);
    EXPECT_NEAR(*steady.secondsLeft, 10.0, 0.5);
    EXPECT_EQ(steady.Percent(), 66);
    for (const double pause : {0.5, 30.0, 3600.0}) {
        const BatchProgressView paused = RunTwentyFiles(pause);
        ASSERT_TRUE(paused.bytesPerSecond && paused.secondsLeft) << pause;
        EXPECT_NEAR(*paused.bytesPerSecond, *steady.bytesPerSecond, 1.0) << pause;
        EXPECT_NEAR(*paused.secondsLeft, *steady.secondsLeft, 0.01) << pause;
    }
}

// Files ending: a few times a second. A large file: every call once shown, so that the batch bar
// and the file bar beside it tell the same bytes.
TEST(BatchProgressMeter, ShowsAfterTheFirstMomentsOnly)
{
    struct Row {
        const char* what;
        milliseconds step;  // between two calls
        int calls;
        bool largeFile;  // FileProgress of one file instead of file ends
        std::size_t shows;
    };
    const Row rows[] = {
        {"over within the first moments", milliseconds(1), 200, false, 0},
        {"small files, one a millisecond", milliseconds(1), 1000, false, 4},
        {"a large file, every 30 ms", milliseconds(30), 100, true, 92},
        {"files slower than the interval", milliseconds(400), 5, false, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScriptedClock clock;
        double pausedSeconds = 0.0;
        ProgressSink sink(clock);
        const auto start = clock.now;
        {
            BatchProgressMeter meter(1000 * kFile, clock, pausedSeconds, sink);
            for (int i = 1; i <= row.calls; ++i) {
                clock.now += row.step;
                if (row.largeFile)
                    meter.FileProgress(static_cast<std::uint64_t>(i) * 1000);
                else
                    meter.FileEnded(1000);
            }
        }
        ASSERT_EQ(sink.shown.size(), row.shows);
        EXPECT_EQ(sink.others, 0);
        for (std::size_t i = 0; i < sink.shown.size(); ++i) {
            const auto sinceLast = sink.shown[i].at - (i == 0 ? start : sink.shown[i - 1].at);
            if (i == 0 || !row.largeFile)
                EXPECT_GE(sinceLast, BatchProgressMeter::kShowInterval);
            else
                EXPECT_EQ(sinceLast, row.step);
            EXPECT_EQ(sink.shown[i].view.bytesTotal, 1000 * kFile);
        }
        // What was shown is what had been done by then: 1000 bytes a call either way.
        for (const ProgressSink::Shown& shown : sink.shown) {
            const auto calls = static_cast<std::uint64_t>((shown.at - start) / row.step);
            EXPECT_EQ(shown.view.bytesDone, 1000 * calls);
        }
    }
}

// The bytes of the file being worked on add to those of the files before it, and the file's end
// counts its size once.
TEST(BatchProgressMeter, AFilesBytesAddToTheFilesBefore)
{
    ScriptedClock clock;
    double pausedSeconds = 0.0;
    ProgressSink sink(clock);
    BatchProgressMeter meter(300, clock, pausedSeconds, sink);
    clock.now += milliseconds(300);
    meter.FileEnded(100);
    clock.now += milliseconds(300);
    meter.FileProgress(50);
    clock.now += milliseconds(300);
    meter.FileEnded(100);
    ASSERT_EQ(sink.shown.size(), 3u);
    EXPECT_EQ(sink.shown[0].view.bytesDone, 100u);
    EXPECT_EQ(sink.shown[1].view.bytesDone, 150u);
    EXPECT_EQ(sink.shown[2].view.bytesDone, 200u);
    EXPECT_EQ(sink.shown[2].view.Percent(), 66);
}

}  // namespace
}  // namespace kyv
