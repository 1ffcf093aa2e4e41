#pragma once
// The sizes of the files a walk planned, looked at now: what a batch has to work through.

#include <QtGlobal>
#include <vector>

#include "core/files/FolderWalk.h"

namespace kyv {

// The sizes of the plan's files that are still regular files; one gone since its folder was
// listed has none.
[[nodiscard]] std::vector<qint64> PlannedFileSizes(const FolderPlan& plan);

// The sum of the planned files' sizes over all the plans.
[[nodiscard]] qint64 PlannedInputBytes(const WalkPlans& plans);

}  // namespace kyv
