#pragma once
// Where the file dialogs and folder browsers open: where the user is working in the setup, not in
// the home folder or wherever a dialog was used last.

#include <QString>

#include "core/common/OperationSetup.h"

namespace kyv {

// The input folder; the output folder while no input folder is set.
[[nodiscard]] QString InputStartFolder(const OperationSetup& setup);
// The output folder; the input folder while no output folder is set.
[[nodiscard]] QString OutputStartFolder(const OperationSetup& setup);
// The folder of the keyfile last chosen; `otherwise` (the setup's input folder) while there is none.
[[nodiscard]] QString KeyfileStartFolder(const platform::FilePath& keyfilePath, const QString& otherwise);

}  // namespace kyv
