#include "core/app/DialogStartFolders.h"

#include "core/app/PathParts.h"

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

QString KeyfileStartFolder(const QString& keyfilePath, const QString& otherwise)
{
    const QString keyfileFolder = GetFolderPart(keyfilePath);
    return keyfileFolder.isEmpty() ? otherwise : keyfileFolder;
}

}  // namespace kyv
