#include <gtest/gtest.h>

#include <optional>

#include "core/operation/FileResult.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunResult.h"

namespace kyv {
namespace {

cipher::CipherResult Engine(int code) { return static_cast<cipher::CipherResult>(code); }

struct MessageCase {
    FileResult::Outcome outcome;
    bool encrypting;
    const char* text;
    bool partialPlaintext;  // followed by the line that says where partial plaintext may lie
};

class FileOutcomeTextTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(FileOutcomeTextTest, WordsTheOutcome)
{
    FileResult file;
    file.encrypting = GetParam().encrypting;
    file.inputName = file.outputName = QStringLiteral("Report.INI");
    file.inputPath = file.outputPath = platform::FilePath("/data/Report.INI");
    file.inPlace = true;
    file.temporaryPath = platform::FilePath("/data/Report.INI1");
    file.outcome = GetParam().outcome;
    if (file.MayLeavePartialPlaintext()) file.partialPlaintextPath = file.temporaryPath;
    QString expected = QString::fromUtf8(GetParam().text);
    if (GetParam().partialPlaintext)
        expected += QStringLiteral("\r\n              Partial plaintext may be in /data/Report.INI1.");
    EXPECT_EQ(FileOutcomeText(file), expected);
    EXPECT_EQ(file.MayLeavePartialPlaintext(), GetParam().partialPlaintext);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileOutcomeTextTest,
    ::testing::Values(
        MessageCase{FileDecision::OwnExecutable, true,
                    "This is the Kyv executable.  Encryption not performed.", false},
        MessageCase{FileDecision::OwnExecutable, false,
                    "This is the Kyv executable.  Decryption not performed.", false},
        MessageCase{FileDecision::CurrentKeyfile, true,
                    "This is the current keyfile.  Encryption not performed.", false},
        MessageCase{FileDecision::EmptyFile, true, "This file is empty (0 bytes).", false},
        MessageCase{FileDecision::TooSmallToDecrypt, false,
                    "This file is too small to have been Kyv-encrypted.", false},
        MessageCase{FileDecision::NoTemporaryName, true, "Unable to get temporary output filename.", false},
        MessageCase{
            FileDecision::RenameFailed, false,
            "Error when renaming temporary output file. The result of the decryption operation is in the "
            "file /data/Report.INI1.",
            false},
        MessageCase{FileDecision::ProtectedExtension, true,
                    "Kyv does not encrypt-in-place files with extension \"ini\".", false},
        MessageCase{FileDecision::ProtectedExtension, false,
                    "Kyv does not decrypt-in-place files with extension \"ini\".", false},
        MessageCase{FileDecision::SkippedNotEncrypted, false, "skipped (file seems not encrypted)", false},
        MessageCase{Engine(-3), true, "Input file not found.", false},
        MessageCase{Engine(-4), true, "Unable to open input file.", false},
        MessageCase{Engine(-5), true, "Unable to open output file.", false},
        MessageCase{Engine(-6), true, "Read error.", false},
        MessageCase{Engine(-16), false, "Read error.", true},
        MessageCase{Engine(-7), true, "Write error.", false},
        MessageCase{Engine(-17), false, "Write error.", true},
        MessageCase{Engine(-9), true, "Write error: disk full.", false},
        MessageCase{
            Engine(-8), false,
            "Invalid block size.\r\n              Decryption key is incorrect or ciphertext is corrupt.",
            false},
        MessageCase{
            Engine(-18), false,
            "Invalid block size.\r\n              Decryption key is incorrect or ciphertext is corrupt.",
            true},
        MessageCase{
            Engine(-21), false,
            "One block expansion error occurred.\r\n              Ciphertext is corrupt or decryption "
            "key is incorrect.",
            true},
        MessageCase{
            Engine(-23), false,
            "3 block expansion errors occurred.\r\n              Ciphertext is corrupt or decryption key "
            "is incorrect.",
            true},
        MessageCase{
            Engine(-29), false,
            "9 block expansion errors occurred.\r\n              Ciphertext is corrupt or decryption key "
            "is incorrect.",
            true},
        MessageCase{Engine(-1), true, "Unknown error #-1.", false},
        MessageCase{Engine(-12), true, "Unknown error #-12.", false},
        MessageCase{Engine(-20), true, "Unknown error #-20.", true},
        MessageCase{Engine(-30), true, "Unknown error #-30.", true},
        MessageCase{Engine(-50), true, "Unknown error #-50.", true},
        MessageCase{Engine(-99), true, "Unknown error #-99.", true},
        MessageCase{Engine(-100), true, "Unknown error #-100.", false}));

TEST(FileOutcomeTextTest, FloppyRenameFailureNamesTheDriveAndTheTemporaryFile)
{
    FileResult file;
    file.inputPath = platform::FilePath("b:\\letters\\memo.doc");
    file.inPlace = true;
    file.temporaryPath = platform::FilePath("C:\\memo.doc");
    file.outcome = FileDecision::RenameFailedOnFloppy;
    EXPECT_EQ(
        FileOutcomeText(file),
        QStringLiteral("Error: probably insufficient space on the floppy disk in drive B.  The result of the "
                       "encryption operation is in the file C:\\memo.doc."));
}

// A file's whole line: the same lines the walk's tests find in the report.
struct LineCase {
    const char* name;
    std::optional<std::uint64_t> length;
    bool encrypting;
    bool inPlace;
    FileResult::Outcome outcome;
    const char* outputName;
    std::uint64_t outputLength;
    const char* temporaryPath;
    const char* lineAfterName;
};

class FileLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(FileLineTest, PutsNameLengthAndOutcomeTogether)
{
    const LineCase& c = GetParam();
    FileResult file;
    file.encrypting = c.encrypting;
    file.inputName = QString::fromUtf8(c.name);
    file.inputPath = platform::FilePath("/data/") / file.inputName;
    file.outputName = c.inPlace ? file.inputName : QString::fromUtf8(c.outputName);
    file.outputPath = platform::FilePath("/data/") / file.outputName;
    file.inPlace = c.inPlace;
    file.temporaryPath = platform::FilePath(c.temporaryPath);
    file.inputLength = c.length;
    file.outputLength = c.outputLength;
    file.outcome = c.outcome;
    if (file.MayLeavePartialPlaintext())
        file.partialPlaintextPath = c.inPlace ? file.temporaryPath : platform::FilePath(file.outputName);
    EXPECT_EQ(FileLine(file),
              file.inputName.leftJustified(12) + QStringLiteral("  ") + QString::fromUtf8(c.lineAfterName));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileLineTest,
    ::testing::Values(
        LineCase{"empty.txt", std::nullopt, true, false, FileDecision::EmptyFile, "empty.out", 0, "",
                 "This file is empty (0 bytes)."},
        LineCase{"two.bin2", std::nullopt, false, false, FileDecision::TooSmallToDecrypt, "two.out", 0, "",
                 "This file is too small to have been Kyv-encrypted."},
        LineCase{"two.txt", 2, true, true, FileDecision::Done, "", 10, "/data/two.txt1",
                 "2 bytes   -> 10 bytes"},
        LineCase{"two.txt", 2, true, false, FileDecision::Done, "two.out", 10, "",
                 "2 bytes   -> two.out  10 bytes"},
        LineCase{"b.txt", 3000, true, true, FileDecision::Done, "", 3008, "/data/b.txt1",
                 "3,000 bytes   -> 3,008 bytes"},
        LineCase{"a-rather-long-name.txt", 5, true, false, FileDecision::Done, "a-rather-long-name.out", 13,
                 "", "5 bytes   -> a-rather-long-name.out  13 bytes"},
        LineCase{"report.INI", 40, true, true, FileDecision::ProtectedExtension, "", 0, "",
                 "40 bytes   Kyv does not encrypt-in-place files with extension \"ini\"."},
        LineCase{"kyv", 50, true, true, FileDecision::OwnExecutable, "", 0, "",
                 "50 bytes   This is the Kyv executable.  Encryption not performed."},
        LineCase{"my.key", 64, true, true, FileDecision::CurrentKeyfile, "", 0, "",
                 "64 bytes   This is the current keyfile.  Encryption not performed."},
        LineCase{
            "memo.doc", 40, true, true, FileDecision::RenameFailed, "", 0, "/data/memo.doc1",
            "40 bytes   Error when renaming temporary output file. The result of the encryption operation "
            "is in the file /data/memo.doc1."},
        LineCase{"plain.txt", 256, false, false, FileDecision::SkippedNotEncrypted, "plain.dec", 0, "",
                 "256 bytes   skipped (file seems not encrypted)"},
        LineCase{"gone.txt", 40, true, false, Engine(-3), "gone.out", 0, "",
                 "40 bytes   Input file not found."},
        LineCase{"f.txt", 40, false, false, Engine(-17), "f.out", 0, "",
                 "40 bytes   Write error.\r\n              Partial plaintext may be in f.out."},
        LineCase{
            "f.txt", 40, false, false, Engine(-18), "f.out", 0, "",
            "40 bytes   Invalid block size.\r\n              Decryption key is incorrect or ciphertext is "
            "corrupt.\r\n              Partial plaintext may be in f.out."},
        LineCase{"f.txt", 40, false, false, Engine(-23), "f.out", 0, "",
                 "40 bytes   3 block expansion errors occurred.\r\n              Ciphertext is corrupt or "
                 "decryption key is incorrect.\r\n              Partial plaintext may be in f.out."},
        LineCase{"f.txt", 40, false, false, Engine(-50), "f.out", 0, "",
                 "40 bytes   Unknown error #-50.\r\n              Partial plaintext may be in f.out."},
        LineCase{
            "f.txt", 300, false, true, Engine(-8), "", 0, "",
            "300 bytes   Invalid block size.\r\n              Decryption key is incorrect or ciphertext is "
            "corrupt."},
        LineCase{"a.txt", 70, false, true, Engine(-17), "", 0, "/data/a.txt1",
                 "70 bytes   Write error.\r\n              Partial plaintext may be in /data/a.txt1."}));

struct TotalsCase {
    const char* what;
    int processed;
    int done;
    qint64 bytesDone;
    bool operation;
    bool encrypting;
    double elapsedSeconds;
    const char* text;
};

class ClosingTotalsTest : public ::testing::TestWithParam<TotalsCase> {};

TEST_P(ClosingTotalsTest, WordsTheRunsCounts)
{
    const TotalsCase& c = GetParam();
    RunResult run;
    run.filesProcessed = c.processed;
    run.filesDone = c.done;
    run.bytesDone = c.bytesDone;
    const QStringList lines = ClosingTotalLines(run, c.operation, c.encrypting, c.elapsedSeconds);
    QString text;
    for (const QString& line : lines) text += line + QStringLiteral("\r\n");
    EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.what;
    for (const QString& line : lines) EXPECT_FALSE(line.contains(QLatin1Char('\n'))) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClosingTotalsTest,
    ::testing::Values(
        TotalsCase{"one file done", 1, 1, 12, true, true, 0, "Total KB encrypted: 0.01\r\n"},
        TotalsCase{"nothing done", 2, 0, 0, true, true, 0,
                   "\r\nNumber of files processed: 2\r\nNumber of files encrypted: 0\r\n"},
        TotalsCase{"one file skipped", 1, 0, 0, true, false, 0, "Number of files decrypted: 0\r\n"},
        TotalsCase{"decrypted", 2, 2, 3116, true, false, 0,
                   "\r\nNumber of files processed: 2\r\nNumber of files decrypted: 2\r\nTotal KB decrypted: "
                   "3.04\r\n"},
        TotalsCase{"whole kilobytes", 2, 2, 8LL << 30, true, true, 0,
                   "\r\nNumber of files processed: 2\r\nNumber of files encrypted: 2\r\nTotal KB encrypted: "
                   "8,388,608\r\n"},
        TotalsCase{"elapsed", 1, 1, 12, true, true, 7,
                   "Total KB encrypted: 0.01\r\nElapsed time: 7 seconds\r\n"},
        TotalsCase{"three seconds are not shown", 1, 1, 12, true, true, 3.0, "Total KB encrypted: 0.01\r\n"},
        TotalsCase{"randomness listing", 2, 0, 0, false, true, 0, "\r\nNumber of files processed: 2\r\n"}));

TEST(ClosingDateTextTest, EndsWithHoursAndMinutes)
{
    const QString line = ClosingDateText(QDateTime(QDate(2024, 3, 15), QTime(0, 0, 59)));
    EXPECT_TRUE(line.endsWith(QStringLiteral(", 00:00"))) << line.toStdString();
    EXPECT_FALSE(line.contains(QLatin1Char('\n'))) << line.toStdString();
}

// What each event adds to the report's text; the run's closing date is worded by ClosingDateText.
struct EventCase {
    const char* what;
    ReportEvent event;
    QString text;
};

ReportEvent WorkBegins(bool encrypting)
{
    ProgressEvent progress;
    progress.of = ProgressEvent::Of::FileWorkBegins;
    progress.encrypting = encrypting;
    return progress;
}

ReportEvent Failed(int code)
{
    FileResult file;
    file.encrypting = false;
    file.inputName = file.outputName = QStringLiteral("a.enc");
    file.inPlace = true;
    file.outcome = Engine(code);
    return FileFinishedEvent{file};
}

const QDateTime kClosedAt(QDate(2024, 3, 15), QTime(9, 5));

ReportEvent Finished(bool closingLines, bool operation)
{
    RunFinishedEvent finished;
    finished.result.filesProcessed = 2;
    finished.closingLines = closingLines;
    finished.operation = operation;
    finished.now = kClosedAt;
    return finished;
}

class ReportTextOfTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(ReportTextOfTest, AddsWhatTheReportHolds)
{
    const EventCase& c = GetParam();
    EXPECT_EQ(ReportTextOf(c.event), c.text) << c.what;
    EXPECT_EQ(ReportTextLength(ReportLinesOf(c.event)), c.text.size()) << c.what;
    for (const QString& line : ReportLinesOf(c.event))
        EXPECT_FALSE(line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'))) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportTextOfTest,
    ::testing::Values(
        EventCase{"run started", RunStartedEvent{}, QString()},
        EventCase{
            "folder",
            FolderStartedEvent{true, QStringLiteral("*.txt"), platform::FilePath(QStringLiteral("/data/"))},
            QStringLiteral("Encrypting *.txt in /data/\r\n")},
        EventCase{
            "folder, decrypting",
            FolderStartedEvent{false, QStringLiteral("*.enc"), platform::FilePath(QStringLiteral("/d/"))},
            QStringLiteral("Decrypting *.enc in /d/\r\n")},
        EventCase{"file turned down before its length",
                  FileStartedEvent{QStringLiteral("a.txt"), std::nullopt}, QStringLiteral("a.txt         ")},
        EventCase{"file with its length", FileStartedEvent{QStringLiteral("a.txt"), 1234},
                  QStringLiteral("a.txt         1,234 bytes   ")},
        EventCase{"work begins", WorkBegins(false), QStringLiteral("  ... decrypting ... ")},
        EventCase{"batch progress", ProgressEvent{}, QString()},
        EventCase{"file finished on two lines", Failed(-8),
                  QStringLiteral("Invalid block size.\r\n              Decryption key is incorrect or "
                                 "ciphertext is corrupt.\r\n")},
        EventCase{"the run's own lines",
                  ReportTextEvent{{QStringLiteral("a"), QString(), QStringLiteral("b")}},
                  QStringLiteral("a\r\n\r\nb")},
        EventCase{"closing lines", Finished(true, true),
                  QStringLiteral("\r\nNumber of files processed: 2\r\nNumber of files encrypted: 0\r\n\r\n") +
                      ClosingDateText(kClosedAt) + QStringLiteral("\r\n")},
        EventCase{"a listing's closing lines", Finished(true, false),
                  QStringLiteral("\r\nNumber of files processed: 2\r\n\r\n") + ClosingDateText(kClosedAt) +
                      QStringLiteral("\r\n")},
        EventCase{"a reliability test's run closes nothing", Finished(false, true), QString()},
        EventCase{"status", StatusEvent{RunStatus::Paused}, QString()}));

struct StatusCase {
    RunStatus shown;
    int filesDone;
    RunStatus after;
};

class StatusAfterRunTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusAfterRunTest, SaysDoneUnlessPausedOrStopped)
{
    RunResult result;
    result.filesDone = GetParam().filesDone;
    EXPECT_EQ(StatusAfterRun(GetParam().shown, result), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Table, StatusAfterRunTest,
                         ::testing::Values(StatusCase{RunStatus::None, 1, RunStatus::Done},
                                           StatusCase{RunStatus::None, 0, RunStatus::None},
                                           StatusCase{RunStatus::Stopped, 3, RunStatus::Stopped},
                                           StatusCase{RunStatus::Paused, 3, RunStatus::Paused}));

// What each outcome adds to the run's counts.
struct RecordCase {
    FileResult::Outcome outcome;
    int done;
    int failed;
    int skipped;
    int underTemporaryName;
};

class RunResultRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RunResultRecordTest, CountsTheFileOnce)
{
    FileResult file;
    file.inputLength = 40;
    file.outcome = GetParam().outcome;
    RunResult run;
    run.Record(file);
    EXPECT_EQ(run.filesDone, GetParam().done);
    EXPECT_EQ(run.filesFailed, GetParam().failed);
    EXPECT_EQ(run.filesSkipped, GetParam().skipped);
    EXPECT_EQ(run.resultsUnderTemporaryName, GetParam().underTemporaryName);
    EXPECT_EQ(run.bytesDone, GetParam().done * 40);
    EXPECT_EQ(file.CountsAsDone(), GetParam().done == 1);
}

INSTANTIATE_TEST_SUITE_P(Table, RunResultRecordTest,
                         ::testing::Values(RecordCase{FileDecision::Done, 1, 0, 0, 0},
                                           RecordCase{FileDecision::RenameFailed, 1, 0, 0, 1},
                                           RecordCase{FileDecision::RenameFailedOnFloppy, 1, 0, 0, 1},
                                           RecordCase{FileDecision::PurgeNotOverwritten, 1, 0, 0, 0},
                                           RecordCase{FileDecision::PurgeNotDeleted, 1, 0, 0, 0},
                                           RecordCase{FileDecision::SkippedNotEncrypted, 0, 0, 1, 0},
                                           RecordCase{FileDecision::EmptyFile, 0, 1, 0, 0},
                                           RecordCase{FileDecision::OwnExecutable, 0, 1, 0, 0},
                                           RecordCase{FileDecision::NoTemporaryName, 0, 1, 0, 0},
                                           RecordCase{Engine(-7), 0, 1, 0, 0},
                                           RecordCase{Engine(-17), 0, 1, 0, 0}));

TEST(FileResultTest, AnEngineSuccessIsAFileDone)
{
    EXPECT_EQ(EngineOutcome(cipher::CipherResult::Success), FileResult::Outcome(FileDecision::Done));
    EXPECT_EQ(EngineOutcome(Engine(-7)), FileResult::Outcome(Engine(-7)));
}

}  // namespace
}  // namespace kyv
