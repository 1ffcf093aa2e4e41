#pragma once

#include "core/keys/SecureBytes.h"

namespace kyv {

// The key as the engine takes it: 64 bytes, a shorter key repeated from its start (a key of 16
// bytes four times, one of 20 three times and then its first 4 bytes). A guarded copy; the key
// record is not changed. Empty for an empty key.
[[nodiscard]] SecureBytes LengthenKey(const SecureBytes& key);

}  // namespace kyv
