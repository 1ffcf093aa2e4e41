#pragma once
// What `kyv` tells its caller through its exit status.

namespace kyv {
struct RunResult;
}

namespace kyv::cli {

enum ExitStatus : int {
    kExitDone = 0,        // at least one file processed, and every processed file done
    kExitIncomplete = 1,  // a file failed or was skipped, nothing was processed, or the run was stopped
    kExitRefused = 2,     // a usage error or a failed launch check: nothing was processed
};

// The status after an operation's run. A result left under a temporary name counts as done in
// the report, but the user still has to act on it: no success; nor is a result whose original's
// purge fell short.
[[nodiscard]] ExitStatus OperationExitStatus(const RunResult& run);

}  // namespace kyv::cli
