#include <gtest/gtest.h>

#include "KyvRunner.h"
#include "cli/ExitStatus.h"
#include "core/operation/RunResult.h"

namespace kyv::cli {
namespace {

struct ExitCase {
    const char* what;
    int processed;
    int done;
    int failed;
    int skipped;
    int underTemporaryName;
    bool stopped;
    ExitStatus expected;
    int foldersLeftOut = 0;
    int purgesFellShort = 0;
};

// Cases the real program cannot easily be brought to: a result left under a temporary name counts
// as done in the report, yet it is no success.
TEST(KyvExitStatusRule, EveryProcessedFileDoneAndNothingLeftToTheUser)
{
    const ExitCase cases[] = {
        {"all done", 3, 3, 0, 0, 0, false, kExitDone},
        {"one failed", 3, 2, 1, 0, 0, false, kExitIncomplete},
        {"one skipped", 3, 2, 0, 1, 0, false, kExitIncomplete},
        {"nothing processed", 0, 0, 0, 0, 0, false, kExitIncomplete},
        {"stopped after the files done", 2, 2, 0, 0, 0, true, kExitIncomplete},
        {"rename failed", 2, 2, 0, 0, 1, false, kExitIncomplete},
        {"a folder could not be read", 2, 2, 0, 0, 0, false, kExitIncomplete, 1},
        {"an original's purge fell short", 2, 2, 0, 0, 0, false, kExitIncomplete, 0, 1},
    };
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(c.what);
        RunResult run;
        run.filesProcessed = c.processed;
        run.filesDone = c.done;
        run.filesFailed = c.failed;
        run.filesSkipped = c.skipped;
        run.resultsUnderTemporaryName = c.underTemporaryName;
        run.stopped = c.stopped;
        run.foldersNotProcessed = c.foldersLeftOut;
        run.purgesFellShort = c.purgesFellShort;
        EXPECT_EQ(OperationExitStatus(run), c.expected);
    }
}

// Files whose names hold the words of a rename failure are done like any other: the exit status
// comes from the run's result, not from the report's wording.
TEST(KyvExitStatus, DoesNotDependOnTheWordingOfTheReport)
{
    test::Scratch s;
    const QString names[] = {QStringLiteral("Error when renaming temporary output file. a.txt"),
                             QStringLiteral("Error: probably insufficient space on the floppy disk.txt")};
    for (const QString& name : names) s.Write(name, test::PlainText(300));
    const test::KyvRun run =
        test::RunKyv({QStringLiteral("encrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--as"),
                      QStringLiteral("*.enc"), s.Folder(), QStringLiteral("*.txt")},
                     QByteArray("a key that is long enough\n"));
    for (const QString& name : names) EXPECT_TRUE(run.out.contains(name)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Number of files encrypted: 2"))) << run.out.toStdString();
    EXPECT_EQ(run.exitCode, kExitDone) << run.err.toStdString();
}

}  // namespace
}  // namespace kyv::cli
