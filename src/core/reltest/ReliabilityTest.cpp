#include "core/reltest/ReliabilityTest.h"

#include <QStringList>
#include <filesystem>
#include <system_error>

#include "core/common/DirectionWord.h"
#include "core/common/LineBreak.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"
#include "core/files/MatchingFileCopy.h"
#include "core/keys/KeyState.h"
#include "core/keys/RandomTextKey.h"
#include "core/operation/RunState.h"
#include "core/reltest/ReliabilityTestHost.h"
#include "core/reltest/ReliabilityTestReport.h"
#include "engine/filelib/FileCompare.h"

namespace kyv {

namespace {

// The test's file specifications differ from the user's in their last three characters only:
// *.tst gives *.bak, *.enc and *.dec, a.tst gives a.bak.
QString WithExtension(const QString& fileSpec, const QString& extension)
{
    return fileSpec.left(std::max<qsizetype>(0, fileSpec.size() - 3)) + extension;
}

// Files of earlier performances and of earlier tests that would otherwise mix with this one's.
void DeleteLeftovers(const FilePath& folder)
{
    for (const char* fileSpec : {"*.enc", "*.dec", "*.bak"}) {
        QString ignored;
        const std::optional<FolderListing> listing =
            ListFolder(folder, QString::fromLatin1(fileSpec), ignored);
        if (!listing) continue;
        for (const QString& name : listing->matchingFiles) {
            std::error_code error;
            std::filesystem::remove(folder / name, error);
        }
    }
}

const QString kStoppedInPlace =
    QStringLiteral("Since the output files have the same names as the input files, ") + kLineBreak +
    QStringLiteral("it is likely that some of the .tst files will be encrypted ") + kLineBreak +
    QStringLiteral("and some not.  You may wish to set up the .tst files again.");

}  // namespace

ReliabilityTestOutcome ReliabilityTest::Run(int performances)
{
    ReliabilityTestHost& host = s_.host;
    performances_ = performances;
    generatedKey_ = false;
    reportStarted_ = false;
    s_.state.control.reliabilityTestRunning = true;
    s_.state.control.stopRequested = false;

    host.SnapshotSetup();
    host.CopyInputSideToOutput();
    host.ShowTestRunning(true);
    inPlace_ = s_.setup.inPlace;

    ReliabilityTestOutcome outcome = ReliabilityTestOutcome::Passed;
    int performance = 1;
    for (;; ++performance) {
        outcome = Perform(performance);
        if (outcome != ReliabilityTestOutcome::Passed || performance >= performances) break;
        if (!PauseBeforeNextPerformance()) {
            outcome = ReliabilityTestOutcome::Stopped;
            break;
        }
        GenerateRandomTextKey(s_.key);
        generatedKey_ = true;
    }

    host.OfferClose();
    if (outcome == ReliabilityTestOutcome::Passed) {
        Write(ReliabilityTestClosingLines(performance, lastFileCount_));
    }
    host.ShowTestRunning(false);
    s_.state.control.reliabilityTestRunning = false;
    // The setup comes back with the key unspecified: neither the user's key nor a test key stays.
    EraseKeyData(s_.key);
    host.RestoreSetup();
    host.FocusReport();
    return outcome;
}

ReliabilityTestOutcome ReliabilityTest::Perform(int performance)
{
    DeleteLeftovers(s_.setup.InputFolder().AsFolder());
    s_.host.ApplySetupFlags(Direction::Encrypt, inPlace_, false);
    return inPlace_ ? PerformInPlace(performance) : PerformIntoNewFiles(performance);
}

ReliabilityTestOutcome ReliabilityTest::PerformInPlace(int performance)
{
    const FilePath& folder = s_.setup.InputFolder();
    const QString testSpec = s_.setup.InputSpec();
    if (CopyMatchingFiles(folder, testSpec, folder, WithExtension(testSpec, QStringLiteral("bak")), true) >
        0) {
        s_.prompter.Tell(QStringLiteral("Unable to copy specified .tst files to .bak files."),
                         QStringLiteral("Error"), MessageIcon::Exclamation);
        ReportNotCompleted(QStringLiteral("not every test file could be copied to its .bak file"), true);
        return ReliabilityTestOutcome::NotCompleted;
    }
    for (int launch = 0; launch < 2; ++launch) {
        if (launch == 1) s_.host.PerformFunction();
        const ReliabilityTestOutcome step = LaunchStep(performance);
        if (step == ReliabilityTestOutcome::Stopped)
            s_.prompter.Tell(kStoppedInPlace, QStringLiteral("Reliability test stopped"),
                             MessageIcon::Information);
        if (step != ReliabilityTestOutcome::Passed) return step;
    }
    return CompareDecryptedFiles(performance, QStringLiteral("bak"));
}

ReliabilityTestOutcome ReliabilityTest::PerformIntoNewFiles(int performance)
{
    OperationSetup& setup = s_.setup;
    // After the first performance the file specifications are those of its decryption.
    setup.fileSpecs[kInputSide] = WithExtension(setup.InputSpec(), QStringLiteral("tst"));
    setup.fileSpecs[kOutputSide] = WithExtension(setup.InputSpec(), QStringLiteral("enc"));
    s_.host.RefreshFilesStatus();
    ReliabilityTestOutcome step = LaunchStep(performance);
    if (step != ReliabilityTestOutcome::Passed) return step;
    testFileOf_.clear();
    for (qsizetype i = 0; i < s_.state.inputNames.size() && i < s_.state.outputNames.size(); ++i)
        testFileOf_.insert(s_.state.outputNames[i], s_.state.inputNames[i]);

    s_.host.PerformFunction();
    setup.fileSpecs[kInputSide] = setup.OutputSpec();
    setup.fileSpecs[kOutputSide] = WithExtension(setup.OutputSpec(), QStringLiteral("dec"));
    s_.host.RefreshFilesStatus();
    step = LaunchStep(performance);
    if (step != ReliabilityTestOutcome::Passed) return step;
    return CompareDecryptedFiles(performance, QStringLiteral("tst"));
}

ReliabilityTestOutcome ReliabilityTest::LaunchStep(int performance)
{
    const TestLaunchEnd end = s_.host.Launch();
    if (end == TestLaunchEnd::Ran) reportStarted_ = true;
    if (s_.report.StopRequested() || s_.state.result.stopped) return ReliabilityTestOutcome::Stopped;
    if (end == TestLaunchEnd::Ran) return FilesFailedInRun();
    ReportNotCompleted(QStringLiteral("the ") +
                           DirectionWord(s_.setup.Encrypts(), QStringLiteral("encryption")) +
                           QStringLiteral(" of performance #") + QString::number(performance) +
                           QStringLiteral(" could not start: ") + LaunchEndReason(end),
                       false);
    return ReliabilityTestOutcome::NotCompleted;
}

ReliabilityTestOutcome ReliabilityTest::FilesFailedInRun()
{
    // In place, a file the engine failed on is left as it was, and would compare identical.
    const RunResult& result = s_.state.result;
    const int failed = result.filesFailed + result.filesSkipped;
    if (failed == 0) return ReliabilityTestOutcome::Passed;
    Write(QStringList{QString(),
                      QString::number(failed) + QStringLiteral(" test file") +
                          (failed == 1 ? QString() : QStringLiteral("s")) + QStringLiteral(" could not be ") +
                          DirectionWord(s_.setup.Encrypts(), QStringLiteral("encrypted")) + QLatin1Char('.')}
          << ReliabilityTestFailureLines({s_.key, generatedKey_}) << QString());
    s_.report.RequestStop();
    ShowStatus(RunStatus::Stopped);
    return ReliabilityTestOutcome::Failed;
}

QString ReliabilityTest::OriginalName(const QString& decryptedName, const QString& originalExtension) const
{
    // Into new files: the test file the decrypted file's encrypted file came from (its extension
    // may be upper-case).
    if (!inPlace_) {
        const qsizetype index = s_.state.outputNames.indexOf(decryptedName);
        if (index >= 0 && index < s_.state.inputNames.size()) {
            const QString found = testFileOf_.value(s_.state.inputNames[index]);
            if (!found.isEmpty()) return found;
        }
    }
    return WithExtension(decryptedName, originalExtension);
}

ReliabilityTestOutcome ReliabilityTest::CompareDecryptedFiles(int performance,
                                                              const QString& originalExtension)
{
    RunState& state = s_.state;
    ReportSink& report = s_.report;
    const FilePath outputFolder = state.request.outputFolder.AsFolder();
    const QStringList decryptedNames = state.outputNames;
    const int fileCount = static_cast<int>(decryptedNames.size());
    lastFileCount_ = fileCount;
    const TestKey key{s_.key, generatedKey_};
    const QStringList header =
        ReliabilityTestHeader(performance, performances_, fileCount, outputFolder, key);

    s_.host.SetReportCaption(QStringLiteral("Comparison of decrypted files with original files"));
    ShowStatus(RunStatus::None);
    // The comparison's report takes the place of its runs'.
    (void)report.Deliver(
        ReportTextEvent{QStringList(header) << QString() << QString(), ReportTextEvent::Place::NewReport});
    state.control.reliabilityReport = true;

    ReliabilityTestOutcome outcome = ReliabilityTestOutcome::Passed;
    for (const QString& decrypted : decryptedNames) {
        const QString original = OriginalName(decrypted, originalExtension);
        const filelib::FileComparison comparison =
            filelib::CompareFiles(outputFolder / original, outputFolder / decrypted);
        Write(
            {original + QStringLiteral(", ") + decrypted + QStringLiteral(": ") + ComparisonText(comparison),
             QString()});
        if (!comparison.Identical()) {
            Write(ReliabilityTestFailureLines(key) << QString());
            // As Stop in the report window: the test ends here.
            report.RequestStop();
            ShowStatus(RunStatus::Stopped);
            outcome = ReliabilityTestOutcome::Failed;
            break;
        }
    }
    if (LongFileList(fileCount)) Write(QStringList{QString()} << header);
    state.inputNames.clear();
    state.outputNames.clear();
    return outcome;
}

bool ReliabilityTest::PauseBeforeNextPerformance()
{
    s_.host.OfferStop(inPlace_ ? QString() : QStringLiteral("Stop"));
    ShowStatus(RunStatus::Paused);
    Write({QString(), QStringLiteral("OK so far ... ")});
    s_.host.WaitForNextPerformance();
    // After Stop the label keeps saying so.
    if (s_.report.StopRequested()) return false;
    ShowStatus(RunStatus::None);
    return true;
}

void ReliabilityTest::Write(const QStringList& lines)
{
    // The test's lines are few; a full report goes without them.
    (void)s_.report.Deliver(ReportTextEvent{lines});
}

void ReliabilityTest::ShowStatus(RunStatus status) { (void)s_.report.Deliver(StatusEvent{status}); }

void ReliabilityTest::ReportNotCompleted(const QString& why, bool toldAlready)
{
    const QString text = QStringLiteral("The reliability test was not completed: ") + why + QLatin1Char('.');
    // The report window shows this test's report once one of its launches has run; before, the
    // report holds an older run's, and a message says it instead.
    if (reportStarted_)
        Write({QString(), QString(), text, QString()});
    else if (!toldAlready)
        s_.prompter.Tell(text, QStringLiteral("Reliability test"), MessageIcon::Information);
}

}  // namespace kyv
