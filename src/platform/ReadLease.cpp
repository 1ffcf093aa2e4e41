#include "platform/ReadLease.h"

#include <fcntl.h>
#include <signal.h>

#include <cerrno>
#include <mutex>

namespace kyv::platform {

namespace {

// A real-time signal carries the descriptor whose lease broke, and queues rather than merges.
int LeaseSignal() { return SIGRTMIN + 5; }

void GiveUpBrokenLease(int /*signal*/, siginfo_t* info, void* /*context*/)
{
    // Only a lease break (not a signal sent by hand) names a descriptor.
    if (info->si_code != POLL_MSG) return;
    const int savedError = errno;
    ::fcntl(info->si_fd, F_SETLEASE, F_UNLCK);
    errno = savedError;
}

// Installs the handler once; false (and no leases) when another part of the process uses the
// signal.
bool HandlerInstalled()
{
    static std::once_flag once;
    static bool installed = false;
    std::call_once(once, [] {
        struct sigaction current {};
        if (::sigaction(LeaseSignal(), nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
            current.sa_handler != SIG_DFL)
            return;
        struct sigaction action {};
        action.sa_sigaction = GiveUpBrokenLease;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        installed = ::sigaction(LeaseSignal(), &action, nullptr) == 0;
    });
    return installed;
}

}  // namespace

ReadLease::ReadLease(int descriptor)
{
    // Granting the lease makes this process the one the break is signalled to.
    if (HandlerInstalled() && ::fcntl(descriptor, F_SETSIG, LeaseSignal()) == 0 &&
        ::fcntl(descriptor, F_SETLEASE, F_RDLCK) == 0)
        descriptor_ = descriptor;
}

bool ReadLease::Broken() const { return Taken() && ::fcntl(descriptor_, F_GETLEASE) != F_RDLCK; }

bool ReadLease::Release()
{
    if (!Taken()) return true;
    // A lease the handler gave up is gone, and giving it up again fails.
    const bool intact = !Broken() && ::fcntl(descriptor_, F_SETLEASE, F_UNLCK) == 0;
    descriptor_ = -1;
    return intact;
}

}  // namespace kyv::platform
