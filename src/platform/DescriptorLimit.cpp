#include "platform/DescriptorLimit.h"

#include <sys/resource.h>

namespace kyv::platform {

void RaiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
    limit.rlim_cur = limit.rlim_max;
    // Where the hard limit is beyond what the system allows a process, the soft one stays as it is.
    setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace kyv::platform
