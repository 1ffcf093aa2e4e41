#include "core/launch/FreeSpaceSource.h"

#include "platform/Drives.h"

namespace kyv {

std::optional<quint64> DriveFreeSpace::FreeBytes(const QString& path)
{
    quint64 freeBytes = 0;
    quint64 totalBytes = 0;
    if (platform::GetDriveSpace(path, freeBytes, totalBytes) != 0) return std::nullopt;
    return freeBytes;
}

}  // namespace kyv
