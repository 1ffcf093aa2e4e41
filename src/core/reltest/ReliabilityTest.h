#pragma once
// The reliability test: each performance encrypts the test files and decrypts them again through
// the ordinary launch, then compares every decrypted file byte by byte with a copy of its
// original. The first performance uses the user's key, each later one a new random key. In place,
// x.tst is first copied to x.bak and x.bak is compared with the round-tripped x.tst; otherwise
// x.tst becomes x.enc, x.enc becomes x.dec, and x.dec is compared with x.tst. The user's setup
// comes back at the end whatever happened.

#include <QHash>
#include <QString>
#include <QStringList>

#include "core/operation/ReportEvent.h"

#include "core/reltest/ReliabilityTestRuns.h"

namespace kyv {

class Prompter;
class ReliabilityTestHost;
class ReportSink;
struct KeyState;
struct OperationSetup;
struct RunState;

struct ReliabilityTestServices {
    ReliabilityTestHost& host;
    OperationSetup& setup;
    KeyState& key;
    RunState& state;
    ReportSink& report;
    Prompter& prompter;
};

enum class ReliabilityTestOutcome {
    Passed,        // every performance found every file identical
    Failed,        // a comparison found a difference or could not compare
    Stopped,       // Stop in the report window
    NotCompleted,  // a backup copy failed or a launch could not start
};

class ReliabilityTest {
public:
    explicit ReliabilityTest(const ReliabilityTestServices& services) : s_(services) {}

    // Runs `performances` performances (1 or more) on the setup's test files.
    ReliabilityTestOutcome Run(int performances);

private:
    // One performance; Passed when its comparison found every file identical.
    ReliabilityTestOutcome Perform(int performance);
    ReliabilityTestOutcome PerformInPlace(int performance);
    ReliabilityTestOutcome PerformIntoNewFiles(int performance);
    // A launch; Passed when it ran to its end.
    ReliabilityTestOutcome LaunchStep(int performance);
    // Failed, with the failure lines, when the engine failed on a file or one was skipped.
    ReliabilityTestOutcome FilesFailedInRun();
    ReliabilityTestOutcome CompareDecryptedFiles(int performance, const QString& originalExtension);
    [[nodiscard]] QString OriginalName(const QString& decryptedName, const QString& originalExtension) const;
    // The pause between performances; false when Stop ended it.
    bool PauseBeforeNextPerformance();
    // Lines of the test's own at the report's end.
    void Write(const QStringList& lines);
    void ShowStatus(RunStatus status);
    // Says why the test ends unfinished; `toldAlready`: a message has said it.
    void ReportNotCompleted(const QString& why, bool toldAlready);

    ReliabilityTestServices s_;
    int performances_ = 0;
    bool generatedKey_ = false;
    // A launch of this test has written to the report window.
    bool reportStarted_ = false;
    bool inPlace_ = false;
    // Files of the last comparison.
    int lastFileCount_ = 0;
    // Encrypted name -> test file name of the last encryption into new files.
    QHash<QString, QString> testFileOf_;
};

}  // namespace kyv
