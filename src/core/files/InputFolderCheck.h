#pragma once

#include <QString>

#include "platform/FilePath.h"

namespace kyv {

class Prompter;

// The input folder must be readable and hold files matching `fileSpec` or subfolders. Otherwise
// tells the user why ("Cannot access the input folder." or the empty-folder message) and returns
// false.
[[nodiscard]] bool CheckInputFolder(const platform::FilePath& folder, const QString& fileSpec,
                                    Prompter& prompter);

}  // namespace kyv
