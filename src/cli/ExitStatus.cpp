#include "cli/ExitStatus.h"

#include "core/operation/RunState.h"

namespace kyv::cli {

ExitStatus OperationExitStatus(const RunState& state, int renameFailures)
{
    const bool allDone = state.filesProcessed > 0 && state.filesDone == state.filesProcessed;
    if (state.stopRequested || !allDone || renameFailures > 0) return kExitIncomplete;
    return kExitDone;
}

}  // namespace kyv::cli
