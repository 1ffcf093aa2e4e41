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
    identity.permissions = static_cast<std::uint32_t>(status.st_mode & 0777);
    identity.owner = static_cast<std::uint32_t>(status.st_uid);
    identity.group = static_cast<std::uint32_t>(status.st_gid);
    constexpr std::int64_t kNsPerSecond = 1000000000;
    identity.modifiedNs =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * kNsPerSecond + status.st_mtim.tv_nsec;
    identity.changedNs =
        static_cast<std::int64_t>(status.st_ctim.tv_sec) * kNsPerSecond + status.st_ctim.tv_nsec;
    return identity;
}

}  // namespace

FileIdentity IdentifyFile(const FilePath& path)
{
    struct stat status {};
    const int result = ::stat(path.CString(), &status);
    return IdentityFrom(result, status);
}

OpenFolder::OpenFolder(const FilePath& folder)
    : path_(folder), descriptor_(::open(folder.CString(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

OpenFolder::~OpenFolder()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

FileIdentity OpenFolder::Identify(const FilePath& name) const
{
    if (descriptor_ < 0) return IdentifyFile(path_ / name);
    struct stat status {};
    const int result = ::fstatat(descriptor_, name.CString(), &status, 0);
    return IdentityFrom(result, status);
}

FileIdentity IdentifyDescriptor(int descriptor)
{
    struct stat status {};
    const int result = ::fstat(descriptor, &status);
    return IdentityFrom(result, status);
}

bool DataUnchanged(const FileIdentity& before, const FileIdentity& now)
{
    return SameFile(before, now) && before.size == now.size && before.modifiedNs == now.modifiedNs;
}

bool Unchanged(const FileIdentity& before, const FileIdentity& now)
{
    return DataUnchanged(before, now) && before.changedNs == now.changedNs;
}

bool SameFile(const FileIdentity& first, const FileIdentity& second)
{
    return first.Seen() && second.Seen() && first.device == second.device &&
           first.fileNumber == second.fileNumber;
}

}  // namespace kyv::platform
