#pragma once
// The walk of an operation, and the estimate of the space its output needs, made from the
// operation's folder plans alone: nothing is opened for the run, nothing is reported.

#include <QString>
#include <QtGlobal>

#include "core/files/FolderWalk.h"

namespace kyv {

struct OperationSetup;
struct RunRequest;

// The walk over the request's folders, with the setup's subfolders and in-place choice.
[[nodiscard]] WalkRequest OperationWalkRequest(const OperationSetup& setup, const RunRequest& request);

struct SizeEstimate {
    // The bytes the output needs: the sum of the input sizes, in place the largest file (one
    // temporary file at a time).
    qint64 requiredBytes = 0;
    // A folder's output specification gives duplicate names: the run would refuse it.
    bool duplicateOutputNames = false;
};

// The message of a run refused for duplicate output names.
[[nodiscard]] QString DuplicateOutputNamesText(const QString& outputSpec);

// Looks at the planned files' sizes now; a file gone since its folder was listed needs no space.
[[nodiscard]] SizeEstimate EstimateSize(const WalkPlans& plans, bool inPlace);

}  // namespace kyv
