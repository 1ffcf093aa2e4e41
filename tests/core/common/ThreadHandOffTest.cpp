#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <memory>
#include <thread>
#include <vector>

#include "core/common/ThreadHandOff.h"

namespace kyv {
namespace {

// Values written by a worker before each hand-off are read on the window thread, in the order
// handed; a blocking call's result is back on the worker when CallOn returns.
TEST(ThreadHandOffTest, PostedCallsRunInOrderOnTheReceiversThreadAndCallOnWaits)
{
    QObject receiver;
    std::vector<int> seen;
    std::vector<QThread*> threads;
    int answer = 0;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            auto value = std::make_shared<int>(i);
            PostTo(receiver, [&, value] {
                seen.push_back(*value);
                threads.push_back(QThread::currentThread());
            });
        }
        CallOn(receiver, [&answer, &seen] { answer = static_cast<int>(seen.size()) + 1; });
    });
    QDeadlineTimer deadline(10000);
    while (answer == 0 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    ASSERT_EQ(answer, 101);
    ASSERT_EQ(seen.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(seen[static_cast<size_t>(i)], i);
    for (QThread* thread : threads) EXPECT_EQ(thread, receiver.thread());
}

TEST(ThreadHandOffTest, CallsPostedToAReceiverThatIsGoneAreDropped)
{
    auto runs = std::make_shared<int>(0);
    {
        QObject receiver;
        std::thread([&receiver, runs] { PostTo(receiver, [runs] { ++*runs; }); }).join();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(*runs, 0);
    // The dropped call was freed with what it held.
    EXPECT_EQ(runs.use_count(), 1);
}

}  // namespace
}  // namespace kyv
