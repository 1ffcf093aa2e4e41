#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "OperationFixture.h"
#include "core/operation/RunController.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Answers from the script and notes the thread each question was asked on.
class ThreadNotingPrompter final : public Prompter {
public:
    explicit ThreadNotingPrompter(FakePrompter& script) : script_(script) {}
    MessageAnswer Ask(const Message& message) override
    {
        askedOn.push_back(QThread::currentThread());
        return script_.Ask(message);
    }
    std::vector<QThread*> askedOn;

private:
    FakePrompter& script_;
};

// The window thread is this test's main thread: it waits for a run in a local event loop, as the
// program's window does.
class RunControllerTest : public OperationFixture {
protected:
    void SetUp() override
    {
        OperationFixture::SetUp();
        threaded_.runController = &controller_;
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) Write(QString::fromLatin1(name), PlainBytes(40));
        Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
        state_.request.kind = RunKind::Operation;
    }
    // What the window does on a click: on the window thread, while the worker waits; a change of
    // Stop or Pause is told with Wake.
    void OnWindow(const std::function<void()>& action)
    {
        controller_.OnWindowThread([&] {
            action();
            controller_.Wake();
        });
    }

    RunController controller_{[](RunController& c) {
        QEventLoop loop;
        QObject::connect(&c, &RunController::RunEnded, &loop, &QEventLoop::quit);
        if (c.Running()) loop.exec();
    }};
    ThreadNotingPrompter notingPrompter_{prompter_};
    OperationContext threaded_{setup_,   working_, state_, sink_, notingPrompter_, clock_,
                               &engine_, &key_,    {},     {},    &purgeAdvice_,   {}};
    std::atomic<int> engineCalls_{0};
};

// The first engine call lasts until the window's timer has ticked five times (a minute at most),
// which it can only do while the engine works.
TEST_F(RunControllerTest, TheWindowThreadKeepsItsEventsWhileTheEngineWorks)
{
    std::atomic<std::thread::id> engineThread;
    std::atomic<int> ticks{0};
    int ticksDuringCall = 0;
    engine_.duringCall = [&](const fs::path&) {
        engineThread = std::this_thread::get_id();
        if (++engineCalls_ != 1) return;
        const int before = ticks;
        for (int wait = 0; wait < 60000 && ticks - before < 5; ++wait) std::this_thread::sleep_for(1ms);
        ticksDuringCall = ticks - before;
    };
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(20);
    ProcessFiles(threaded_);
    EXPECT_NE(engineThread.load(), std::this_thread::get_id());
    EXPECT_GE(ticksDuringCall, 5) << "the timer went on during the engine's call";
    EXPECT_EQ(state_.result.filesDone, 3);
    EXPECT_FALSE(state_.control.runInProgress);
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("Number of files encrypted: 3\r\n")));
    EXPECT_EQ(sink_.status, QStringLiteral("Done"));
    EXPECT_EQ(sink_.runEnds, 1);
}

TEST_F(RunControllerTest, PauseHoldsTheWorkerUntilContinue)
{
    engine_.duringCall = [&](const fs::path&) {
        if (++engineCalls_ == 1) OnWindow([&] { state_.control.paused = true; });
    };
    // Once the window says "Paused", the pause is held for ten more looks of the window (a minute
    // at most without it), and Continue follows.
    int callsWhilePaused = -1;
    int looksWhilePaused = 0;
    QElapsedTimer waited;
    waited.start();
    QTimer window;
    QObject::connect(&window, &QTimer::timeout, [&] {
        if (!state_.control.paused) return;
        if (sink_.status == QStringLiteral("Paused")) ++looksWhilePaused;
        if (looksWhilePaused < 10 && waited.elapsed() < 60000) return;
        callsWhilePaused = engineCalls_;
        clock_.Advance(60);
        state_.control.paused = false;
        controller_.Wake();
    });
    window.start(10);
    ProcessFiles(threaded_);
    window.stop();
    EXPECT_EQ(callsWhilePaused, 1) << "no file is worked on while paused";
    EXPECT_GE(looksWhilePaused, 10) << "the window never said \"Paused\"";
    EXPECT_EQ(state_.result.filesDone, 3);
    EXPECT_DOUBLE_EQ(state_.pausedSeconds, 60.0);
    EXPECT_EQ(sink_.status, QStringLiteral("Done"));
}

TEST_F(RunControllerTest, StopTakesEffectAtTheNextPausePoint)
{
    engine_.duringCall = [&](const fs::path&) {
        if (++engineCalls_ == 1) OnWindow([&] { sink_.stop = true; });
    };
    ProcessFiles(threaded_);
    EXPECT_EQ(engineCalls_, 1);
    EXPECT_EQ(state_.result.filesProcessed, 1);
    EXPECT_EQ(state_.result.filesDone, 1) << "the file being worked on is finished";
}

TEST_F(RunControllerTest, AQuestionFromTheWalkIsAskedOnTheWindowThread)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) fs::remove(Path(QString::fromLatin1(name)));
    Write(QStringLiteral("plain.kyv"), std::string(1000, 'p'));
    setup_.direction = Direction::Decrypt;
    Select(Root(), QStringLiteral("*.kyv"), Root(), QStringLiteral("*.txt"));
    prompter_.Answer(MessageAnswer::No);
    ProcessFiles(threaded_);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Anomaly"));
    EXPECT_EQ(notingPrompter_.askedOn, std::vector<QThread*>{QThread::currentThread()});
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("skipped (file seems not encrypted)")));
    EXPECT_EQ(engine_.calls, 0);
}

TEST_F(RunControllerTest, ASecondRunWhileOneIsGoingDoesNothing)
{
    int secondStarted = -1;
    engine_.duringCall = [&](const fs::path&) {
        if (++engineCalls_ == 1) OnWindow([&] { secondStarted = controller_.Start(threaded_) ? 1 : 0; });
    };
    ProcessFiles(threaded_);
    EXPECT_EQ(secondStarted, 0);
    EXPECT_EQ(sink_.runStarts, 1);
    EXPECT_EQ(state_.result.filesDone, 3);
}

// The main window may change the setup while a run goes on; the run keeps what it started with.
TEST_F(RunControllerTest, TheWalkKeepsTheSetupItStartedWith)
{
    engine_.duringCall = [&](const fs::path&) {
        if (++engineCalls_ == 1) OnWindow([&] { setup_.direction = Direction::Decrypt; });
    };
    ProcessFiles(threaded_);
    EXPECT_EQ(state_.result.filesDone, 3);
    EXPECT_EQ(Read(QStringLiteral("c.enc")), FakeCipherEngine::Encrypt(PlainBytes(40)));
}

// The window reads and sets its run state whenever its events come, while the walk counts: the walk
// counts in a state of its own and hands the counts over once it has ended, so the window's state
// is never touched by two threads (the ThreadSanitizer build sees any overlap).
TEST_F(RunControllerTest, TheWindowsRunStateIsTouchedOnTheWindowThreadAlone)
{
    std::atomic<int> looks{0};
    int countedWhileRunning = 0;
    QTimer window;
    QObject::connect(&window, &QTimer::timeout, [&] {
        // A tick in the same pass of the event loop as the run's end comes after the counts went over.
        if (controller_.Running())
            countedWhileRunning =
                std::max({countedWhileRunning, state_.result.filesProcessed, state_.result.filesDone});
        state_.control.reliabilityReport = false;
        ++looks;
    });
    engine_.duringCall = [&](const fs::path&) {
        // Each file waits for a look of the window, so that the looks fall among the walk's counts.
        const int before = looks;
        for (int wait = 0; wait < 10000 && looks == before; ++wait) std::this_thread::sleep_for(1ms);
    };
    window.start(1);
    ProcessFiles(threaded_);
    window.stop();
    EXPECT_GE(looks, 3);
    EXPECT_EQ(countedWhileRunning, 0) << "the window saw the walk's counts before the walk had ended";
    EXPECT_EQ(state_.result.filesProcessed, 3);
    EXPECT_EQ(state_.result.filesDone, 3);
}

// The reliability test pairs its files by the names of the folder its run has just worked on.
TEST_F(RunControllerTest, AReliabilityTestsRunHandsTheNamesOfItsFolderToTheWindow)
{
    state_.control.reliabilityTestRunning = true;
    ProcessFiles(threaded_);
    EXPECT_EQ(state_.result.filesDone, 3);
    // In the folder's order, each output beside its input.
    ASSERT_EQ(state_.inputNames.size(), 3);
    ASSERT_EQ(state_.outputNames.size(), 3);
    QStringList pairs;
    for (qsizetype i = 0; i < 3; ++i)
        pairs << state_.inputNames.at(i) + QStringLiteral(" ") + state_.outputNames.at(i);
    pairs.sort();
    EXPECT_EQ(pairs, QStringList({"a.txt a.enc", "b.txt b.enc", "c.txt c.enc"}));
}

// The report a run writes through the controller is the one it writes on the calling thread, whether
// the window assures room for appends or each is asked, with a full buffer or without.
struct SameReportCase {
    bool assureRoom;
    qsizetype capacity;
};

class SameReportTest : public RunControllerTest, public ::testing::WithParamInterface<SameReportCase> {};

TEST_P(SameReportTest, TheReportIsTheOneWrittenOnTheCallingThread)
{
    sink_.assureRoom = GetParam().assureRoom;
    sink_.capacity = GetParam().capacity;
    sink_.onBufferFull = [](RecordingReportSink& s) { s.suppressed = true; };
    ProcessFiles(context_);
    const QString here = sink_.text;
    const int bufferFullHere = sink_.bufferFullCalls;
    EXPECT_EQ(bufferFullHere > 0, GetParam().capacity >= 0);
    for (const char* name : {"a.enc", "b.enc", "c.enc"}) fs::remove(Path(QString::fromLatin1(name)));
    sink_ = RecordingReportSink();
    sink_.assureRoom = GetParam().assureRoom;
    sink_.capacity = GetParam().capacity;
    sink_.onBufferFull = [](RecordingReportSink& s) { s.suppressed = true; };
    ProcessFiles(threaded_);
    EXPECT_EQ(sink_.text, here);
    EXPECT_EQ(sink_.bufferFullCalls, bufferFullHere);
    EXPECT_EQ(state_.result.filesDone, 3);
}

INSTANTIATE_TEST_SUITE_P(Table, SameReportTest,
                         ::testing::Values(SameReportCase{false, -1}, SameReportCase{true, -1},
                                           SameReportCase{true, 150}, SameReportCase{false, 150}));

}  // namespace
}  // namespace kyv::test
