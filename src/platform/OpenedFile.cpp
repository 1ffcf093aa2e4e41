#include "platform/OpenedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace kyv::platform {

OpenedFile::OpenedFile(int folderDescriptor, const FilePath& name, const FilePath& fallback)
    : readPath_(fallback)
{
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    descriptor_ = folderDescriptor >= 0 ? ::openat(folderDescriptor, name.CString(), kFlags)
                                        : ::open(fallback.CString(), kFlags);
    if (descriptor_ < 0) {
        atOpen_.error = errno;
        return;
    }
    // The lease first: a write that ends before it is granted is in what the identity shows.
    lease_ = ReadLease(descriptor_);
    atOpen_ = IdentifyDescriptor(descriptor_);
    // Whether the system shows this process's descriptors as paths is asked once.
    static const bool kDescriptorPaths = ::access("/proc/self/fd", F_OK) == 0;
    if (kDescriptorPaths) readPath_ = "/proc/self/fd/" + std::to_string(descriptor_);
}

OpenedFile::~OpenedFile()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

FileIdentity OpenedFile::Now() const
{
    if (descriptor_ < 0) return atOpen_;
    return IdentifyDescriptor(descriptor_);
}

bool OpenedFile::DataUnchanged() const { return platform::DataUnchanged(atOpen_, Now()) && !lease_.Broken(); }

bool OpenedFile::Unchanged() const { return platform::Unchanged(atOpen_, Now()) && !lease_.Broken(); }

}  // namespace kyv::platform
