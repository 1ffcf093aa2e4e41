#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/common/BatchProgress.h"
#include "core/common/BatchProgressText.h"

namespace kyv {
namespace {

constexpr double kMB = 1024.0 * 1024.0;

// A stretch of work at one speed (0: a stall), sampled every `step` seconds.
struct Stretch {
    double seconds;
    double bytesPerSecond;
};

struct Scenario {
    std::string name;
    double totalBytes;
    std::vector<Stretch> stretches;
    double step;
    // At the end: the speed and the time left the steady last stretch gives, within 5 %.
    bool settlesAtTheEnd;
    // Over a stall the time left shown grows, by more than the stall lasted.
    bool stalls;
};

void PrintTo(const Scenario& s, std::ostream* out) { *out << s.name; }

struct Sample {
    double seconds;
    double bytes;
    BatchProgressView view;
    bool stalled;
};

std::vector<Sample> Play(const Scenario& s)
{
    BatchProgress progress(static_cast<std::uint64_t>(s.totalBytes));
    std::vector<Sample> samples;
    double t = 0.0;
    double bytes = 0.0;
    for (const Stretch& stretch : s.stretches) {
        const int steps = static_cast<int>(std::lround(stretch.seconds / s.step));
        for (int i = 0; i < steps; ++i) {
            t += s.step;
            bytes += stretch.bytesPerSecond * s.step;
            if (s.totalBytes > 0) bytes = std::min(s.totalBytes, bytes);
            progress.Update(t, static_cast<std::uint64_t>(bytes));
            samples.push_back({t, bytes, progress.View(), stretch.bytesPerSecond == 0.0});
        }
    }
    return samples;
}

class BatchProgressScenario : public testing::TestWithParam<Scenario> {};

TEST_P(BatchProgressScenario, EstimatesAreLateButCalmAndRight)
{
    const Scenario& s = GetParam();
    const std::vector<Sample> samples = Play(s);
    ASSERT_FALSE(samples.empty());
    const Sample* previous = nullptr;
    const Sample* stallStart = nullptr;
    const Sample* stallEnd = nullptr;
    for (const Sample& now : samples) {
        if (now.stalled && stallStart == nullptr) stallStart = &now;
        if (now.stalled) stallEnd = &now;
        SCOPED_TRACE(testing::Message() << s.name << " at " << now.seconds << " s");
        // Nothing but the percentage before a few seconds of work with bytes in them.
        if (now.seconds < BatchProgress::kWarmUpSeconds || now.bytes == 0.0) {
            EXPECT_FALSE(now.view.bytesPerSecond);
            EXPECT_FALSE(now.view.secondsLeft);
        }
        EXPECT_EQ(now.view.bytesDone, static_cast<std::uint64_t>(now.bytes));
        if (previous != nullptr) {
            EXPECT_GE(now.view.Percent(), previous->view.Percent());
            if (previous->view.secondsLeft && now.view.secondsLeft) {
                const double dt = now.seconds - previous->seconds;
                const double countedDown = std::max(0.0, *previous->view.secondsLeft - dt);
                // No jump: at most half of itself per second down, a tenth up, beside the countdown
                // (over the time since the last estimate, which may be up to one interval ago).
                const double since = std::max(dt, BatchProgress::kShortestInterval + s.step);
                EXPECT_LE(*now.view.secondsLeft, countedDown + since * (0.1 * countedDown + 1.0) + 1e-6);
                EXPECT_GE(*now.view.secondsLeft, countedDown - since * (0.5 * countedDown + 1.0) - 1e-6);
            }
        }
        previous = &now;
    }
    if (s.stalls) {
        ASSERT_TRUE(stallStart != nullptr && stallStart->view.secondsLeft && stallEnd->view.secondsLeft);
        EXPECT_GT(*stallEnd->view.secondsLeft,
                  *stallStart->view.secondsLeft + (stallEnd->seconds - stallStart->seconds));
    }
    if (s.settlesAtTheEnd) {
        const Sample& last = samples.back();
        const double speed = s.stretches.back().bytesPerSecond;
        ASSERT_TRUE(last.view.bytesPerSecond);
        EXPECT_NEAR(*last.view.bytesPerSecond, speed, 0.05 * speed) << s.name;
        if (s.totalBytes > 0) {
            const double trueLeft = (s.totalBytes - last.bytes) / speed;
            ASSERT_TRUE(last.view.secondsLeft) << s.name;
            EXPECT_NEAR(*last.view.secondsLeft, trueLeft, 0.05 * trueLeft + 1.0) << s.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, BatchProgressScenario,
    testing::Values(
        // One speed throughout: exact from the end of the warm-up.
        Scenario{"steady", 1000 * kMB, {{60, 10 * kMB}}, 0.1, true, false},
        // Small files ending every few milliseconds: the same speed as from long samples.
        Scenario{"many small files", 1000 * kMB, {{40, 10 * kMB}}, 0.004, true, false},
        // A large file reported every 30 ms.
        Scenario{"large file", 2048 * kMB, {{30, 40 * kMB}}, 0.03, true, false},
        // The device stops for 15 s: the time left grows calmly, then settles again.
        Scenario{"stall", 2000 * kMB, {{20, 10 * kMB}, {15, 0}, {60, 10 * kMB}}, 0.1, true, true},
        // Nothing for the first 5 s (a slow start): no speed before bytes came.
        Scenario{"slow start", 1000 * kMB, {{5, 0}, {50, 10 * kMB}}, 0.1, true, false},
        // The speed doubles halfway (from a slow disk's files to a fast one's).
        Scenario{"speed doubles", 3000 * kMB, {{30, 10 * kMB}, {60, 20 * kMB}}, 0.1, true, false},
        // No total counted: the speed, but no time left.
        Scenario{"no total", 0, {{20, 5 * kMB}}, 0.1, true, false}),
    [](const testing::TestParamInfo<Scenario>& row) {
        std::string name = row.param.name;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

TEST(BatchProgress, TimeLeftOnlyWithATotalAndGrownFilesNeverPassAHundred)
{
    BatchProgress unknown(0);
    unknown.Update(5.0, 1000);
    EXPECT_FALSE(unknown.View().secondsLeft);
    EXPECT_EQ(unknown.View().Percent(), 0);

    // A file grew after it was counted: the batch reads 100 % when done, not more.
    BatchProgress grown(1000);
    grown.Update(1.0, 999);
    EXPECT_EQ(grown.View().Percent(), 99);
    grown.Update(4.0, 1500);
    EXPECT_EQ(grown.View().Percent(), 100);
    EXPECT_EQ(grown.View().bytesTotal, 1500u);
    ASSERT_TRUE(grown.View().secondsLeft);
    EXPECT_EQ(*grown.View().secondsLeft, 0.0);

    // Times that go back and counts that shrink change nothing.
    grown.Update(2.0, 10);
    EXPECT_EQ(grown.View().bytesDone, 1500u);
}

TEST(BatchProgressText, SaysPercentSpeedAndTimeLeft)
{
    const QLocale c = QLocale::c();
    struct Row {
        BatchProgressView view;
        const char* text;
    };
    const Row rows[] = {
        {{512, 2048, std::nullopt, std::nullopt}, "25%"},
        {{512, 2048, 45.2 * kMB, 95.0}, "25%  45.2 MB/s  2 min left"},
        {{2048, 2048, 1.0 * kMB, 0.0}, "100%  1.0 MB/s"},
        {{2047, 2048, 1.0 * kMB, 0.0}, "99%  1.0 MB/s  5 s left"},
        {{3 * 1024 * 1024, 0, 512.0, std::nullopt}, "3.0 MB  512 bytes/s"},
    };
    for (const Row& row : rows) EXPECT_EQ(BatchProgressText(row.view, c), QString::fromLatin1(row.text));

    struct Left {
        double seconds;
        const char* text;
    };
    const Left lefts[] = {{0.2, "5 s left"},
                          {41, "45 s left"},
                          {59.9, "60 s left"},
                          {60, "1 min left"},
                          {89 * 60, "89 min left"},
                          {95 * 60, "1 h 35 min left"},
                          {26 * 3600 + 60, "26 h 01 min left"},
                          {101 * 3600, "over 99 h left"}};
    for (const Left& left : lefts) EXPECT_EQ(TimeLeftText(left.seconds), QString::fromLatin1(left.text));
}

}  // namespace
}  // namespace kyv

namespace kyv {
namespace {

// A batch that ends sooner than its smoothed estimate said: at 100 % nothing is left.
TEST(BatchProgress, AFinishedBatchShowsNoTimeLeft)
{
    BatchProgress progress(static_cast<std::uint64_t>(100 * kMB));
    for (int second = 1; second <= 5; ++second)
        progress.Update(second, static_cast<std::uint64_t>(second * 10 * kMB));
    ASSERT_TRUE(progress.View().secondsLeft) << "half-way the time left is shown";
    progress.Update(5.5, static_cast<std::uint64_t>(100 * kMB));
    ASSERT_TRUE(progress.View().secondsLeft);
    EXPECT_EQ(*progress.View().secondsLeft, 0.0);
}

}  // namespace
}  // namespace kyv
