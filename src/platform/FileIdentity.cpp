#include "platform/FileIdentity.h"

#include <sys/stat.h>

#include <cerrno>

namespace kyv::platform {

FileIdentity IdentifyFile(const std::filesystem::path& path)
{
    FileIdentity identity;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        identity.error = errno;
        return identity;
    }
    identity.regular = S_ISREG(status.st_mode);
    identity.size = static_cast<std::uint64_t>(status.st_size);
    identity.device = static_cast<std::uint64_t>(status.st_dev);
    identity.fileNumber = static_cast<std::uint64_t>(status.st_ino);
    return identity;
}

bool SameFile(const FileIdentity& first, const FileIdentity& second)
{
    return first.Seen() && second.Seen() && first.device == second.device &&
           first.fileNumber == second.fileNumber;
}

}  // namespace kyv::platform
