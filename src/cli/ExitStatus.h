#pragma once
// What `kyv` tells its caller through its exit status.

namespace kyv {
struct RunState;
}

namespace kyv::cli {

enum ExitStatus : int {
    kExitDone = 0,        // at least one file processed, and every processed file done
    kExitIncomplete = 1,  // a file failed or was skipped, nothing was processed, or the run was stopped
    kExitRefused = 2,     // a usage error or a failed launch check: nothing was processed
};

// The status after an operation's run. `renameFailures` counts files whose result was left under
// a temporary name: the report counts them as done, but the user still has to act on them.
[[nodiscard]] ExitStatus OperationExitStatus(const RunState& state, int renameFailures);

}  // namespace kyv::cli
