#include <gtest/gtest.h>

#include "cli/ExitStatus.h"
#include "core/operation/RunState.h"

namespace kyv::cli {
namespace {

struct ExitCase {
    const char* what;
    int processed;
    int done;
    bool stopped;
    int renameFailures;
    ExitStatus expected;
};

// Cases the real program cannot easily be brought to: a result left under a temporary name counts
// as done in the report, yet it is no success.
TEST(KyvExitStatusRule, EveryProcessedFileDoneAndNothingLeftToTheUser)
{
    const ExitCase cases[] = {
        {"all done", 3, 3, false, 0, kExitDone},
        {"one not done", 3, 2, false, 0, kExitIncomplete},
        {"nothing processed", 0, 0, false, 0, kExitIncomplete},
        {"stopped after the files done", 2, 2, true, 0, kExitIncomplete},
        {"rename failed", 2, 2, false, 1, kExitIncomplete},
    };
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(c.what);
        RunState state;
        state.filesProcessed = c.processed;
        state.filesDone = c.done;
        state.stopRequested = c.stopped;
        EXPECT_EQ(OperationExitStatus(state, c.renameFailures), c.expected);
    }
}

}  // namespace
}  // namespace kyv::cli
