#pragma once
// The overwriting pass of a purge, on a file that is already open for writing.

#include <cstdint>

namespace kyv::filelib {

// Writes `length` bytes from the start of the open file `descriptor`: random bytes from a stream
// cipher under a fresh seed when `randomPass`, zeros otherwise; then flushes them to the device.
// False when a write or the flush failed (what was written so far stays written).
[[nodiscard]] bool OverwriteOpenFile(int descriptor, std::int64_t length, bool randomPass);

}  // namespace kyv::filelib
