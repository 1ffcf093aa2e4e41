#include "platform/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace kyv::platform {

FolderLock::~FolderLock()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

FolderLock::Outcome FolderLock::TryLock(const FilePath& folder)
{
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = ::open(folder.CString(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor_ < 0) return Outcome::Unlockable;
    if (::flock(descriptor_, LOCK_EX | LOCK_NB) == 0) return Outcome::Locked;
    const int error = errno;
    ::close(descriptor_);
    descriptor_ = -1;
    return error == EWOULDBLOCK ? Outcome::HeldByOther : Outcome::Unlockable;
}

}  // namespace kyv::platform
