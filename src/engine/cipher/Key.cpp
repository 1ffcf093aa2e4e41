#include "engine/cipher/Key.h"

#include <algorithm>

#include "engine/cipher/GuardedStack.h"

namespace kyv::cipher {

std::optional<Key> Key::Copy(std::span<const unsigned char> bytes)
{
    if (bytes.empty()) return std::nullopt;
    SecretBuffer copy(bytes.size());
    if (!copy.Valid()) return std::nullopt;
    std::copy(bytes.begin(), bytes.end(), copy.Data());
    // The copy went through the vector registers.
    ClearVectorRegisters();
    return Key(std::move(copy));
}

}  // namespace kyv::cipher
