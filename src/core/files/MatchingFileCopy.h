#pragma once
// Copies of a folder's matching files under names made by an output file specification: the
// in-place reliability test keeps x.bak beside each x.tst to compare with after the round trip.

#include <QString>

#include "platform/FilePath.h"

namespace kyv {

// Copies every file of `sourceFolder` that matches `fileSpec` into `destinationFolder`, named as
// MapOutputName gives it for `destinationSpec`. Returns how many files were not copied: a name
// that cannot be mapped, a target that exists while `overwrite` is false, and a copy that fails
// (also a folder that cannot be read, counted as one). 0: all were copied.
[[nodiscard]] int CopyMatchingFiles(const platform::FilePath& sourceFolder, const QString& fileSpec,
                                    const platform::FilePath& destinationFolder,
                                    const QString& destinationSpec, bool overwrite);

}  // namespace kyv
