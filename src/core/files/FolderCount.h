#pragma once
// Counts of one folder's contents (subfolders are not entered). Both return -1 when the folder
// cannot be opened or read; the callers decide what to show.

#include <QString>

namespace kyv {

// Files directly in `folder` whose names satisfy MatchesFileSpec with `fileSpec`, case-insensitively.
// Pending window events are processed while a large folder is counted. On failure `errorText`
// receives the system's description; it is emptied otherwise.
[[nodiscard]] int CountMatchingFiles(const QString& folder, const QString& fileSpec, QString& errorText);

// Immediate subfolders of `folder` (links to folders included). `errorText` is emptied first and
// on failure receives "Error: " and the system's description.
[[nodiscard]] int CountSubfolders(const QString& folder, QString& errorText);

}  // namespace kyv
