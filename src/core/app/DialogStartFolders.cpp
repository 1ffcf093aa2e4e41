#include "core/app/DialogStartFolders.h"

#include "core/app/PathParts.h"

namespace kyv {

QString InputStartFolder(const OperationSetup& setup)
{
    const QString& input = setup.folders[kInputSide];
    return input.isEmpty() ? setup.folders[kOutputSide] : input;
}

QString OutputStartFolder(const OperationSetup& setup)
{
    const QString& output = setup.folders[kOutputSide];
    return output.isEmpty() ? setup.folders[kInputSide] : output;
}

QString KeyfileStartFolder(const QString& keyfilePath, const QString& otherwise)
{
    const QString keyfileFolder = GetFolderPart(keyfilePath);
    return keyfileFolder.isEmpty() ? otherwise : keyfileFolder;
}

}  // namespace kyv
