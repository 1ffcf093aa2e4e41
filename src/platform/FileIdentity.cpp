#include "platform/FileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kyv::platform {

namespace {

FileIdentity IdentityFrom(int result, const struct stat& status)
{
    FileIdentity identity;
    if (result != 0) {
        identity.error = errno;
        return identity;
    }
    identity.regular = S_ISREG(status.st_mode);
    identity.size = static_cast<std::uint64_t>(status.st_size);
    identity.device = static_cast<std::uint64_t>(status.st_dev);
    identity.fileNumber = static_cast<std::uint64_t>(status.st_ino);
    return identity;
}

}  // namespace

FileIdentity IdentifyFile(const std::filesystem::path& path)
{
    struct stat status {};
    const int result = ::stat(path.c_str(), &status);
    return IdentityFrom(result, status);
}

OpenFolder::OpenFolder(const std::filesystem::path& folder)
    : m_path(folder), m_descriptor(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

OpenFolder::~OpenFolder()
{
    if (m_descriptor >= 0) ::close(m_descriptor);
}

FileIdentity OpenFolder::Identify(const char* name) const
{
    if (m_descriptor < 0) return IdentifyFile(m_path / name);
    struct stat status {};
    const int result = ::fstatat(m_descriptor, name, &status, 0);
    return IdentityFrom(result, status);
}

bool SameFile(const FileIdentity& first, const FileIdentity& second)
{
    return first.Seen() && second.Seen() && first.device == second.device &&
           first.fileNumber == second.fileNumber;
}

}  // namespace kyv::platform
