#pragma once
// The words of `kyv recover`: per folder, each leftover's name, what it is, what to do, and what
// was done; then a summary.

#include <QStringList>

#include "core/recovery/LeftoverRecovery.h"

namespace kyv {

// What the leftover is and what to do about it, in a sentence or three.
[[nodiscard]] QString LeftoverDescription(const Leftover& leftover);
// What was done (or, when only listed, what --apply would do).
[[nodiscard]] QString RepairOutcomeText(const RepairedLeftover& item);
// The whole report, one line per element.
[[nodiscard]] QStringList RecoveryReportLines(const RecoveryResult& result, bool applied);

}  // namespace kyv
