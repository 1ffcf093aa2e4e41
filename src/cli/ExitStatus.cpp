#include "cli/ExitStatus.h"

#include "core/operation/RunState.h"

namespace kyv::cli {

ExitStatus OperationExitStatus(const RunState& state, int renameFailures)
{
    const bool allDone = state.intFilesProcessed > 0 && state.intFilesDone == state.intFilesProcessed;
    if (state.blnStop || !allDone || renameFailures > 0) return kExitIncomplete;
    return kExitDone;
}

}  // namespace kyv::cli
