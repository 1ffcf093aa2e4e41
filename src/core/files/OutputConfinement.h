#pragma once
// Whether an operation's output stays in its output folder. A setup can come from anywhere (a
// mail, a shared folder): its folders and output file specification are checked before they are
// used, and every output name made from the file specification is checked again before it is written.

#include <QString>
#include <array>

#include "platform/FilePath.h"

namespace kyv {

// The output file specification names files in the output folder only: no folder separator and
// no "..".
[[nodiscard]] bool OutputSpecStaysInFolder(const QString& spec);

// An output name made from an input name is one entry of the output folder: not empty, not "." or
// "..", and without a folder separator.
[[nodiscard]] bool OutputNameStaysInFolder(const QString& name);

// An empty folder, or a full path without a ".." part.
[[nodiscard]] bool FolderIsPlainFullPath(const platform::FilePath& folder);

// Why these folders (input, output) and output file specification would let an operation read or
// write where it was not pointed; empty when they would not.
[[nodiscard]] QString ConfinementProblem(const std::array<platform::FilePath, 2>& folders,
                                         const QString& outputSpec);

}  // namespace kyv
