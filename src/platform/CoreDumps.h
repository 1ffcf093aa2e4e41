#pragma once
// Both programs hold key material; a core file of either would carry whatever copy of it the
// guarded memory could not keep out (libraries' own buffers, the stack).

namespace kyv::platform {

// Writes no core file for this process and makes it undumpable: no core on a crash, and only a
// privileged process may read its memory or attach to it. Call first thing in main().
void DisableCoreDumps();

}  // namespace kyv::platform
