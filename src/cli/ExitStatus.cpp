#include "cli/ExitStatus.h"

#include "core/operation/RunResult.h"

namespace kyv::cli {

ExitStatus OperationExitStatus(const RunResult& run)
{
    const bool allDone = run.filesProcessed > 0 && run.filesDone == run.filesProcessed;
    if (run.stopped || !allDone || run.resultsUnderTemporaryName > 0 || run.foldersNotProcessed > 0 ||
        run.purgesFellShort > 0 || run.plaintextLeftOut > 0)
        return kExitIncomplete;
    return kExitDone;
}

}  // namespace kyv::cli
