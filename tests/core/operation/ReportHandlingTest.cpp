#include "OperationFixture.h"
#include "core/operation/PausePointRunner.h"
#include "core/operation/ReportBufferFull.h"

namespace kyv::test {
namespace {

class PausePointTest : public OperationFixture {
protected:
    PausePointHooks Hooks()
    {
        PausePointHooks hooks;
        hooks.readFlags = [this] {
            ++flagReads;
            return RunFlags{state.stopRequested, state.paused};
        };
        return hooks;
    }
    int flagReads = 0;
};

TEST_F(PausePointTest, NeitherPausedNorStoppedOnlyLooksAtTheFlags)
{
    sink.autoScroll = true;
    RunPausePoint(state, sink, clock, Hooks());
    EXPECT_EQ(flagReads, 1);
    EXPECT_TRUE(sink.text.isEmpty());
    EXPECT_TRUE(sink.status.isEmpty());
    EXPECT_EQ(state.pausedSeconds, 0.0);
}

// Without a way to wait for Continue (the walk on the window's own thread), a pause is passed over
// rather than hanging the run.
TEST_F(PausePointTest, APauseWithNothingToWaitOnIsPassedOver)
{
    state.paused = true;
    RunPausePoint(state, sink, clock, Hooks());
    EXPECT_EQ(flagReads, 1);
    EXPECT_TRUE(sink.status.isEmpty());
}

TEST_F(PausePointTest, AStopClosesTheLineAndCountsIt)
{
    state.stopRequested = true;
    RunPausePoint(state, sink, clock, Hooks());
    EXPECT_EQ(sink.text, QStringLiteral("\r\n"));
    EXPECT_EQ(state.reportLines, 1);
}

TEST_F(PausePointTest, APauseWaitsForContinueAndAddsThePausedTime)
{
    state.paused = true;
    state.pausedSeconds = 2.0;
    int waits = 0;
    std::vector<std::pair<QString, bool>> whileWaiting;
    PausePointHooks hooks = Hooks();
    hooks.waitForChange = [&] {
        whileWaiting.emplace_back(sink.status, sink.autoScroll);
        clock.Advance(10);
        if (++waits == 3) state.paused = false;
    };
    sink.autoScroll = true;
    RunPausePoint(state, sink, clock, hooks);
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(flagReads, 4);
    EXPECT_DOUBLE_EQ(state.pausedSeconds, 32.0);
    EXPECT_EQ(whileWaiting.front(), std::make_pair(QStringLiteral("Paused"), false));
    EXPECT_TRUE(sink.autoScroll);
    EXPECT_TRUE(sink.status.isEmpty()) << "\"Paused\" goes on Continue";
    EXPECT_TRUE(sink.text.isEmpty());
}

TEST_F(PausePointTest, StopWhilePausedEndsThePauseAndTheLine)
{
    state.paused = true;
    PausePointHooks hooks = Hooks();
    hooks.waitForChange = [&] {
        clock.Advance(5);
        state.stopRequested = true;
        sink.status = QStringLiteral("Stopped");
    };
    RunPausePoint(state, sink, clock, hooks);
    EXPECT_EQ(sink.text, QStringLiteral("\r\n"));
    EXPECT_DOUBLE_EQ(state.pausedSeconds, 5.0);
    EXPECT_EQ(sink.status, QStringLiteral("Stopped"));
}

struct BufferFullCase {
    bool randomness;
    bool encrypting;
    MessageAnswer answer;
    const char* appended;
    bool stops;
    bool suppresses;
};

class ReportBufferFullTest : public OperationFixture, public ::testing::WithParamInterface<BufferFullCase> {};

TEST_P(ReportBufferFullTest, CutsRoomExplainsAndDecides)
{
    const BufferFullCase& c = GetParam();
    sink.text = QString(800, QLatin1Char('x'));
    prompter.Answer(c.answer);
    HandleReportBufferFull(sink, prompter, c.randomness, c.encrypting);

    EXPECT_EQ(sink.text,
              QString(300, QLatin1Char('x')) + QStringLiteral("\r\n\r\n") + QString::fromUtf8(c.appended));
    EXPECT_EQ(sink.stop, c.stops);
    EXPECT_EQ(sink.suppressed, c.suppresses);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Report buffer full"));
    if (c.randomness) {
        EXPECT_EQ(prompter.messages[0].text,
                  QStringLiteral("The output report buffer has been filled.\r\nThis "
                                 "randomness report cannot continue and will now terminate."));
        EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);
    } else {
        EXPECT_EQ(prompter.messages[0].text,
                  QStringLiteral(
                      "The output report buffer has been filled, so this report cannot continue.\r\n\r\n"
                      "The operation, however, may continue, but without report of results for individual "
                      "files.\r\nIt is recommended to continue the operation.  Do you wish to continue?"));
        EXPECT_EQ(prompter.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::YesNo);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportBufferFullTest,
    ::testing::Values(
        BufferFullCase{
            true, true, MessageAnswer::Ok,
            "The output report buffer was filled.\r\nThis randomness report was terminated at this "
            "point.\r\n",
            false, false},
        BufferFullCase{
            false, true, MessageAnswer::Yes,
            "The output report buffer was filled.\r\nSubsequent operations on individual files will "
            "continue,\r\nbut results will not be reported here.\r\n\r\n",
            false, true},
        BufferFullCase{false, false, MessageAnswer::No,
                       "The output report buffer was filled.\r\nThis operation was terminated at the user's "
                       "request.\r\nNote: Some files were not decrypted.\r\n",
                       true, false}));

TEST(PurgeAdviceTextTest, NamesTheFileAndTheOperationAndEndsWithAPointerToBetterPurging)
{
    const QString text = PurgeAdviceText(QStringLiteral("/data/memo.doc"), true);
    EXPECT_TRUE(text.startsWith(QStringLiteral(
        "The file /data/memo.doc has been encrypted.\r\n\r\nThe file in its original form will now be purged "
        "(overwritten and deleted).  If Norton AntiVirus Auto-Protect (or a similar utility) is active then "
        "it may "
        "produce a warning message (once for each plaintext file which is purged).  If so, do not stop the "
        "operation but rather allow it to continue.\r\n\r\nIt is better to disable your antivirus software "
        "either "
        "before running Kyv Cipher or during a run (like now).\r\n\r\nFor more secure purging of files")));
}

}  // namespace
}  // namespace kyv::test
