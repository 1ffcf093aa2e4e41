#include "core/app/DialogStartFolders.h"

namespace kyv {

QString InputStartFolder(const OperationSetup& setup)
{
    const platform::FilePath& input = setup.folders[kInputSide];
    return (input.IsEmpty() ? setup.folders[kOutputSide] : input).Text();
}

QString OutputStartFolder(const OperationSetup& setup)
{
    const platform::FilePath& output = setup.folders[kOutputSide];
    return (output.IsEmpty() ? setup.folders[kInputSide] : output).Text();
}

QString KeyfileStartFolder(const platform::FilePath& keyfilePath, const QString& otherwise)
{
    const platform::FilePath keyfileFolder = keyfilePath.Parent();
    return keyfileFolder.IsEmpty() ? otherwise : keyfileFolder.Text();
}

}  // namespace kyv
