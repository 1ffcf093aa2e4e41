#pragma once
// A walk through a deep tree keeps a few descriptors open on every folder it is in; the usual soft
// limit of 1,024 open files ends such a walk a thousand folders down.

namespace kyv::platform {

// Raises the soft limit on open files to the hard limit, which the system lets any process do.
// Call at start-up.
void RaiseDescriptorLimit();

}  // namespace kyv::platform
