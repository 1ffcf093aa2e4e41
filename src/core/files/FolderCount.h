#pragma once
// Counts of one folder's contents (subfolders are not entered). Both return -1 when the folder
// cannot be opened or read; the callers decide what to show.

#include <QString>
#include <limits>

#include "platform/FilePath.h"

namespace kyv {

// Counts to the end of the folder; callers that only ask whether there is any pass 1 instead.
inline constexpr int kCountAll = std::numeric_limits<int>::max();

// Files directly in `folder` whose names satisfy MatchesFileSpec with `fileSpec`, case-insensitively.
// On failure `errorText` receives the system's description; it is emptied otherwise. Counting ends
// at `stopAt`.
[[nodiscard]] int CountMatchingFiles(const platform::FilePath& folder, const QString& fileSpec,
                                     QString& errorText, int stopAt = kCountAll);

// Immediate subfolders of `folder` (links to folders included). `errorText` is emptied first and
// on failure receives "Error: " and the system's description. Counting ends at `stopAt`.
[[nodiscard]] int CountSubfolders(const platform::FilePath& folder, QString& errorText,
                                  int stopAt = kCountAll);

}  // namespace kyv
