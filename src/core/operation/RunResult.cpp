#include "core/operation/RunResult.h"

#include "core/operation/FileResult.h"

namespace kyv {

void RunResult::Record(const FileResult& file)
{
    if (file.CountsAsDone()) {
        ++filesDone;
        bytesDone += static_cast<qint64>(file.inputLength.value_or(0));
        if (file.LeftUnderTemporaryName()) ++resultsUnderTemporaryName;
        if (file.PurgeFellShort()) ++purgesFellShort;
    } else if (file.Is(FileDecision::SkippedNotEncrypted)) {
        ++filesSkipped;
    } else {
        ++filesFailed;
    }
}

}  // namespace kyv
