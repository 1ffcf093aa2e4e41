#include "core/common/ProgramPaths.h"

#include "platform/Drives.h"
#include "platform/ProgramPaths.h"

namespace kyv {

ProgramPaths RunningProgramPaths()
{
    return ProgramPaths{platform::ProgramFolder(), platform::InstalledDataFolder(),
                        platform::ApplicationDataFolder(), platform::FirstFixedDrive(),
                        platform::ProgramFilePath()};
}

}  // namespace kyv
