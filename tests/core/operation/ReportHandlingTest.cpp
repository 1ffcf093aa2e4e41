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
            ++flagReads_;
            return RunFlags{state_.control.stopRequested, state_.control.paused};
        };
        return hooks;
    }
    int flagReads_ = 0;
};

TEST_F(PausePointTest, NeitherPausedNorStoppedOnlyLooksAtTheFlags)
{
    RunPausePoint(state_, sink_, clock_, Hooks());
    EXPECT_EQ(flagReads_, 1);
    EXPECT_TRUE(sink_.events.empty());
    EXPECT_TRUE(sink_.status.isEmpty());
    EXPECT_EQ(state_.pausedSeconds, 0.0);
}

// Without a way to wait for Continue (the walk on the window's own thread), a pause is passed over
// rather than hanging the run.
TEST_F(PausePointTest, APauseWithNothingToWaitOnIsPassedOver)
{
    state_.control.paused = true;
    RunPausePoint(state_, sink_, clock_, Hooks());
    EXPECT_EQ(flagReads_, 1);
    EXPECT_TRUE(sink_.events.empty());
}

TEST_F(PausePointTest, AStopClosesTheLine)
{
    state_.control.stopRequested = true;
    RunPausePoint(state_, sink_, clock_, Hooks());
    EXPECT_EQ(sink_.text, QStringLiteral("\r\n"));
}

TEST_F(PausePointTest, APauseWaitsForContinueAndAddsThePausedTime)
{
    state_.control.paused = true;
    state_.pausedSeconds = 2.0;
    int waits = 0;
    std::vector<QString> whileWaiting;
    PausePointHooks hooks = Hooks();
    hooks.waitForChange = [&] {
        whileWaiting.push_back(sink_.status);
        clock_.Advance(10);
        if (++waits == 3) state_.control.paused = false;
    };
    RunPausePoint(state_, sink_, clock_, hooks);
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(flagReads_, 4);
    EXPECT_DOUBLE_EQ(state_.pausedSeconds, 32.0);
    EXPECT_EQ(whileWaiting, std::vector<QString>(3, QStringLiteral("Paused")));
    const std::vector<StatusEvent> shown = sink_.Delivered<StatusEvent>();
    ASSERT_EQ(shown.size(), 2u) << "\"Paused\" goes on Continue";
    EXPECT_EQ(shown[0].status, RunStatus::Paused);
    EXPECT_EQ(shown[1].status, RunStatus::None);
    EXPECT_TRUE(sink_.text.isEmpty());
}

TEST_F(PausePointTest, StopWhilePausedEndsThePauseAndTheLine)
{
    state_.control.paused = true;
    PausePointHooks hooks = Hooks();
    hooks.waitForChange = [&] {
        clock_.Advance(5);
        state_.control.stopRequested = true;
        sink_.status = QStringLiteral("Stopped");
    };
    RunPausePoint(state_, sink_, clock_, hooks);
    EXPECT_EQ(sink_.text, QStringLiteral("\r\n"));
    EXPECT_DOUBLE_EQ(state_.pausedSeconds, 5.0);
    EXPECT_EQ(sink_.status, QStringLiteral("Stopped"));
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
    sink_.text = QString(800, QLatin1Char('x'));
    prompter_.Answer(c.answer);
    EXPECT_EQ(HandleReportBufferFull(sink_, prompter_, c.randomness, c.encrypting), c.suppresses);

    EXPECT_EQ(sink_.text,
              QString(300, QLatin1Char('x')) + QStringLiteral("\r\n\r\n") + QString::fromUtf8(c.appended));
    EXPECT_EQ(sink_.stop, c.stops);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Report buffer full"));
    if (c.randomness) {
        EXPECT_EQ(prompter_.messages[0].text,
                  QStringLiteral("The output report buffer has been filled.\r\nThis "
                                 "randomness report cannot continue and will now terminate."));
        EXPECT_EQ(prompter_.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::Ok);
    } else {
        EXPECT_EQ(prompter_.messages[0].text,
                  QStringLiteral(
                      "The output report buffer has been filled, so this report cannot continue.\r\n\r\n"
                      "The operation, however, may continue, but without report of results for individual "
                      "files.\r\nIt is recommended to continue the operation.  Do you wish to continue?"));
        EXPECT_EQ(prompter_.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::YesNo);
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
