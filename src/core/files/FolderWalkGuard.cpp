#include "core/files/FolderWalkGuard.h"

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kyv {

bool FolderWalkGuard::FirstVisit(const platform::FilePath& folder)
{
#ifdef _WIN32
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(folder, error);
    if (error) return true;
    return visited_.insert(real.native()).second;
#else
    // The device and inode name the real folder behind any chain of links or mounts.
    struct stat status {};
    if (::stat(folder.CString(), &status) != 0) return true;
    return visited_
        .insert(
            {static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino)})
        .second;
#endif
}

}  // namespace kyv
