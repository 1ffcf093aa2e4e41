#include "OperationFixture.h"
#include "core/files/FolderPath.h"
#include "core/operation/PausePointRunner.h"
#include "core/operation/ReportBufferFull.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;

class BatchDriverTest : public OperationFixture {
protected:
    // Files encrypted into new files; each engine call takes `secondsPerFile` on the clock.
    void PrepareRun(int files, double secondsPerFile)
    {
        for (int i = 0; i < files; ++i) Write(QStringLiteral("f%1.txt").arg(i), PlainBytes(100));
        Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
        engine_.duringCall = [this, secondsPerFile](const fs::path&) { clock_.Advance(secondsPerFile); };
    }
};

struct ElapsedCase {
    double runSeconds;
    double pausedSeconds;
    const char* line;  // empty: no elapsed-time line
};

class ElapsedLineTest : public BatchDriverTest, public ::testing::WithParamInterface<ElapsedCase> {};

TEST_P(ElapsedLineTest, CountsOnlyUnpausedTimeAboveThreeSeconds)
{
    PrepareRun(1, GetParam().runSeconds);
    const double paused = GetParam().pausedSeconds;
    // The user pauses after the file and continues `paused` seconds later.
    sink_.onPausePoint = [&](RecordingReportSink& s) {
        if (paused <= 0) return;
        state_.control.paused = true;
        PausePointHooks hooks;
        hooks.waitForChange = [&] {
            clock_.Advance(paused);
            state_.control.paused = false;
        };
        RunPausePoint(state_, s, clock_, hooks);
    };
    Run();
    const QString expected = QString::fromUtf8(GetParam().line);
    if (expected.isEmpty())
        EXPECT_FALSE(sink_.text.contains(QStringLiteral("Elapsed time:"))) << sink_.text.toStdString();
    else
        EXPECT_TRUE(sink_.text.contains(QStringLiteral("Elapsed time: ") + expected + QStringLiteral("\r\n")))
            << sink_.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, ElapsedLineTest,
                         ::testing::Values(ElapsedCase{3.0, 0, ""}, ElapsedCase{3.5, 0, "4 seconds"},
                                           ElapsedCase{4.5, 0, "4 seconds"}, ElapsedCase{2.5, 0, ""},
                                           ElapsedCase{65, 0, "1 minute and 5 seconds"},
                                           ElapsedCase{3.0, 500, ""}, ElapsedCase{10, 3600, "10 seconds"}));

TEST_F(BatchDriverTest, ARunAcrossMidnightReportsItsRealLength)
{
    clock_.now = QDateTime(QDate(2024, 3, 14), QTime(23, 59, 58));
    PrepareRun(1, 7);
    Run();
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("Elapsed time: 7 seconds\r\n")));
    EXPECT_TRUE(sink_.text.endsWith(QStringLiteral(", 00:00\r\n")));
}

TEST_F(BatchDriverTest, TimeSpentReadingThePurgeAdviceIsNotElapsedTime)
{
    Write(QStringLiteral("a.doc"), PlainBytes(50));
    Write(QStringLiteral("b.doc"), PlainBytes(50));
    Write(QStringLiteral("c.txt"), PlainBytes(50));
    engine_.duringCall = [this](const fs::path&) { clock_.Advance(2); };
    dialogs_.answers = {AntivirusAnswer::Yes, AntivirusAnswer::DontKnow};
    dialogs_.onAdvice = [this] { clock_.Advance(300); };
    InPlace(true);
    Run();
    EXPECT_EQ(dialogs_.queries, 2);
    QStringList advised = dialogs_.advisedPaths;
    advised.sort();
    EXPECT_EQ(advised, (QStringList{Root() + QStringLiteral("a.doc"), Root() + QStringLiteral("b.doc")}));
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("Elapsed time: 6 seconds\r\n")))
        << sink_.text.toStdString();
    EXPECT_EQ(Read(QStringLiteral("a.doc")), FakeCipherEngine::Encrypt(PlainBytes(50)));
}

struct AdviceCase {
    std::vector<AntivirusAnswer> answers;
    bool boxChecked;
    int queries;
    int advices;
};

class PurgeAdviceRunTest : public BatchDriverTest, public ::testing::WithParamInterface<AdviceCase> {};

TEST_P(PurgeAdviceRunTest, AdvisesForWatchedTypesUntilSwitchedOff)
{
    for (const char* name : {"a.doc", "b.doc", "c.doc", "d.txt"})
        Write(QString::fromLatin1(name), PlainBytes(50));
    dialogs_.answers.assign(GetParam().answers.begin(), GetParam().answers.end());
    dialogs_.dontShowAgainChecked = GetParam().boxChecked;
    InPlace(true);
    Run();
    EXPECT_EQ(dialogs_.queries, GetParam().queries);
    EXPECT_EQ(dialogs_.advisedPaths.size(), GetParam().advices);
    EXPECT_EQ(state_.result.filesDone, 4);

    // The next operation asks again from the start.
    for (const char* name : {"a.doc", "b.doc", "c.doc", "d.txt"})
        Write(QString::fromLatin1(name), PlainBytes(50));
    dialogs_.answers = {AntivirusAnswer::No};
    dialogs_.queries = 0;
    Run();
    EXPECT_EQ(dialogs_.queries, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PurgeAdviceRunTest,
    ::testing::Values(
        AdviceCase{{AntivirusAnswer::Yes, AntivirusAnswer::Yes, AntivirusAnswer::Yes}, false, 3, 3},
        AdviceCase{{AntivirusAnswer::No}, false, 1, 0}, AdviceCase{{AntivirusAnswer::DontKnow}, true, 1, 1}));

TEST_F(BatchDriverTest, DecryptingInPlaceNeverShowsThePurgeAdvice)
{
    Write(QStringLiteral("a.doc"), FakeCipherEngine::Encrypt(PlainBytes(50)));
    InPlace(false);
    Run();
    EXPECT_EQ(dialogs_.queries, 0);
    EXPECT_EQ(Read(QStringLiteral("a.doc")), PlainBytes(50));
}

TEST_F(BatchDriverTest, ARunWithNothingDoneHasOnlyTheProcessedCountAndNoDone)
{
    Write(QStringLiteral("a.txt"), std::string());
    Write(QStringLiteral("b.txt"), std::string());
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
    Run();
    EXPECT_TRUE(ReportBody().endsWith(
        QStringLiteral("\r\n\r\nNumber of files processed: 2\r\nNumber of files encrypted: 0\r\n")))
        << sink_.text.toStdString();
    EXPECT_FALSE(sink_.text.contains(QStringLiteral("Total KB")));
    EXPECT_EQ(sink_.status, QString());
}

TEST_F(BatchDriverTest, ReDisplayChangesNeitherTextNorTotals)
{
    PrepareRun(3, 1);
    Run();
    const QString report = sink_.text;
    const int done = state_.result.filesDone;
    state_.request.kind = RunKind::Redisplay;
    sink_.status = QStringLiteral("Done");
    ProcessFiles(context_);
    EXPECT_EQ(sink_.text, report);
    EXPECT_EQ(state_.result.filesDone, done);
    EXPECT_EQ(sink_.runStarts, 1);
    EXPECT_EQ(sink_.status, QString()) << "the status label is emptied";
}

TEST_F(BatchDriverTest, ASecondRunWhileOneIsInProgressDoesNothing)
{
    PrepareRun(2, 0);
    int nestedRuns = 0;
    sink_.onPausePoint = [&](RecordingReportSink&) {
        const int startsBefore = sink_.runStarts;
        ProcessFiles(context_);
        nestedRuns += sink_.runStarts - startsBefore;
    };
    Run();
    EXPECT_EQ(nestedRuns, 0);
    EXPECT_EQ(state_.result.filesDone, 2);
}

struct BufferFullCase {
    MessageAnswer answer;
    int filesDone;
};

class BufferFullRunTest : public BatchDriverTest, public ::testing::WithParamInterface<BufferFullCase> {};

TEST_P(BufferFullRunTest, AFullReportLetsTheUserContinueWithoutLinesOrStop)
{
    PrepareRun(30, 0);
    sink_.capacity = 600;
    sink_.onBufferFull = [this](RecordingReportSink& s) {
        s.suppressed = HandleReportBufferFull(s, prompter_, false, setup_.Encrypts());
    };
    prompter_.Answer(MessageAnswer::Ok).Answer(GetParam().answer);  // the "Error" box, then the question
    Run();

    const auto errors = std::count_if(prompter_.messages.begin(), prompter_.messages.end(),
                                      [](const Message& m) { return m.title == QStringLiteral("Error"); });
    EXPECT_EQ(errors, 1) << "the failing append is reported once";
    EXPECT_EQ(sink_.bufferFullCalls, 1);
    if (GetParam().filesDone >= 0) {
        EXPECT_EQ(state_.result.filesDone, GetParam().filesDone);
    }
    if (GetParam().answer == MessageAnswer::Yes) {
        EXPECT_TRUE(sink_.text.endsWith(
            QStringLiteral("Subsequent operations on individual files will "
                           "continue,\r\nbut results will not be reported here.\r\n\r\n")))
            << sink_.text.toStdString();
        EXPECT_EQ(sink_.status, QStringLiteral("Done"));
    } else {
        EXPECT_TRUE(sink_.text.contains(
            QStringLiteral("This operation was terminated at the user's request.\r\nNote: "
                           "Some files were not encrypted.\r\n")));
        EXPECT_LT(state_.result.filesDone, 30);
    }
    for (int i = 0; i < 30; ++i) {
        const QString name = QStringLiteral("f%1.enc").arg(i);
        if (GetParam().answer == MessageAnswer::Yes) {
            EXPECT_TRUE(Exists(name)) << name.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BufferFullRunTest,
                         ::testing::Values(BufferFullCase{MessageAnswer::Yes, 30},
                                           BufferFullCase{MessageAnswer::No, -1}));

}  // namespace
}  // namespace kyv::test

namespace kyv::test {
namespace {

TEST_F(BatchDriverTest, ARandomnessReportListsEachFileAndClosesWithTheCount)
{
    Write(QStringLiteral("a.txt"), PlainBytes(10));
    Write(QStringLiteral("b.txt"), PlainBytes(20));
    Write(QStringLiteral("c.doc"), PlainBytes(30));
    state_.request.kind = RunKind::RandomnessListing;
    state_.request.inputFolder = FilePath(Root());
    state_.request.inputSpec = QStringLiteral("*.txt");
    ProcessFiles(context_);
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("        a.txt (10 bytes)   \r\n")));
    EXPECT_TRUE(ReportBody().endsWith(QStringLiteral("\r\n\r\nNumber of files processed: 2\r\n")))
        << sink_.text.toStdString();
    EXPECT_FALSE(sink_.text.contains(QStringLiteral("Total KB")));
    EXPECT_EQ(sink_.status, QString());
    EXPECT_EQ(engine_.calls, 0);
}

}  // namespace
}  // namespace kyv::test
