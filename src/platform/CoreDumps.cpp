#include "platform/CoreDumps.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace kyv::platform {

void DisableCoreDumps()
{
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    // A core limit of zero does not stop a core-dump handler that pipes the core to a program
    // (systemd-coredump); an undumpable process is skipped by it as well.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

}  // namespace kyv::platform
