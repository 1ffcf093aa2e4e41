#pragma once

#include <optional>

#include "core/keys/SecureBytes.h"
#include "engine/cipher/Key.h"

namespace kyv {

// The key as the engine takes it: 64 bytes, a shorter key repeated from its start (a key of 16
// bytes four times, one of 20 three times and then its first 4 bytes). A guarded copy; the key
// record is not changed. Empty for an empty key.
[[nodiscard]] SecureBytes LengthenKey(const SecureBytes& key);
// The lengthened key as the engine's key; none for an empty key, or when no guarded memory is left.
[[nodiscard]] std::optional<cipher::Key> EngineKey(const SecureBytes& key);

}  // namespace kyv
