#include "core/setup/SetupSnapshot.h"

namespace kyv {

SetupSnapshot SnapshotOf(const OperationSetup& setup)
{
    return SetupSnapshot{setup.direction, setup.inPlace, setup.includeSubfolders, setup.folders,
                         setup.fileSpecs};
}

}  // namespace kyv
