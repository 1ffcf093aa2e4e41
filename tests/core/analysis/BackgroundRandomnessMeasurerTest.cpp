#include "core/analysis/BackgroundRandomnessMeasurer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "core/app/AppTestSupport.h"

using namespace kyv;
using kyv::test::TempFolder;

namespace {

// A measure that waits until it is let go, so that requests can pile up behind it. Its value is
// the file's size, which tells the files apart.
struct HeldMeasure {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    std::atomic<int> calls{0};
    std::atomic<int> started{0};

    RandomnessMeasure Function()
    {
        return [this](const std::filesystem::path& path, std::int64_t) {
            ++started;
            std::unique_lock lock(mutex);
            changed.wait(lock, [this] { return released; });
            ++calls;
            return static_cast<double>(std::filesystem::file_size(path));
        };
    }
    void Release()
    {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

bool ProcessEventsUntil(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

}  // namespace

TEST(BackgroundRandomnessMeasurerTest, SmallFilesAreAnsweredAtOnce)
{
    TempFolder folder;
    const QString small = folder.File("small.bin", 100);
    QStringList measured;
    BackgroundRandomnessMeasurer measurer(
        [&measured](const std::filesystem::path& path, std::int64_t minimum) {
            measured << QString::fromStdString(path.string());
            return minimum == 256 ? 0.25 : -1.0;
        },
        1000);
    double result = 0;
    measurer.Request(platform::FilePath(small), 256, [&result](double r) { result = r; });
    EXPECT_EQ(result, 0.25);
    // A missing file is answered at once too.
    measurer.Request(platform::FilePath(folder.Path() + "missing.bin"), 256,
                     [&result](double r) { result = r + 1; });
    EXPECT_EQ(result, 1.25);
    EXPECT_EQ(measured, (QStringList{small, folder.Path() + "missing.bin"}));
}

TEST(BackgroundRandomnessMeasurerTest, TheRealMeasureOfALargeFileArrivesLater)
{
    TempFolder folder;
    const QString path = folder.File("empty-is-small.bin", 0);
    const QString large = folder.File("large.bin", 4096);
    BackgroundRandomnessMeasurer measurer({}, 1024);
    std::optional<double> result;
    measurer.Request(platform::FilePath(large), 256, [&result](double r) { result = r; });
    ASSERT_TRUE(ProcessEventsUntil([&result] { return result.has_value(); }));
    // 4096 equal bytes are as far from random as a file gets.
    EXPECT_GE(*result, 0.0);
    EXPECT_LT(*result, 0.8);
    measurer.Request(platform::FilePath(path), 256, [&result](double r) { result = r; });
    EXPECT_EQ(*result, -14.0);
}

TEST(BackgroundRandomnessMeasurerTest, ANewerRequestReplacesOlderOnes)
{
    TempFolder folder;
    const QString first = folder.File("first.bin", 11);
    const QString second = folder.File("second.bin", 22);
    const QString third = folder.File("third.bin", 33);
    HeldMeasure held;
    BackgroundRandomnessMeasurer measurer(held.Function(), 0);
    QList<double> answers;
    const auto record = [&answers](double r) { answers << r; };
    measurer.Request(platform::FilePath(first), 256, record);
    ASSERT_TRUE(ProcessEventsUntil([&held] { return held.started == 1; }));
    measurer.Request(platform::FilePath(second), 256, record);
    measurer.Request(platform::FilePath(third), 256, record);
    EXPECT_TRUE(answers.isEmpty());
    held.Release();
    ASSERT_TRUE(ProcessEventsUntil([&answers] { return !answers.isEmpty(); }));
    // Let any stale answer arrive, should one be sent.
    ProcessEventsUntil([&held] { return held.calls >= 2; });
    QCoreApplication::processEvents();
    EXPECT_EQ(answers, QList<double>{33.0});
    // The second request was replaced before it was measured.
    EXPECT_EQ(held.calls.load(), 2);
}

TEST(BackgroundRandomnessMeasurerTest, CancelledAndOrphanedRequestsAreNeverAnswered)
{
    TempFolder folder;
    const QString path = folder.File("file.bin", 10);
    HeldMeasure held;
    QList<double> answers;
    {
        BackgroundRandomnessMeasurer measurer(held.Function(), 0);
        measurer.Request(platform::FilePath(path), 256, [&answers](double r) { answers << r; });
        ASSERT_TRUE(ProcessEventsUntil([&held] { return held.started == 1; }));
        measurer.Cancel();
        held.Release();
        ProcessEventsUntil([&held] { return held.calls == 1; });
        QCoreApplication::processEvents();
        EXPECT_TRUE(answers.isEmpty());
    }

    // The measurer goes away while its worker is still measuring: nothing waits for the measure.
    auto stillHeld = std::make_shared<HeldMeasure>();
    {
        // The worker keeps the measure, and what it waits on, until it returns from it.
        BackgroundRandomnessMeasurer measurer(
            [stillHeld, measure = stillHeld->Function()](const std::filesystem::path& file,
                                                         std::int64_t minimumSize) {
                return measure(file, minimumSize);
            },
            0);
        measurer.Request(platform::FilePath(path), 256, [&answers](double r) { answers << r; });
        ASSERT_TRUE(ProcessEventsUntil([&stillHeld] { return stillHeld->started == 1; }));
    }
    stillHeld->Release();
    ProcessEventsUntil([&stillHeld] { return stillHeld->calls == 1; });
    QCoreApplication::processEvents();
    EXPECT_TRUE(answers.isEmpty());
}
