#include "core/launch/KeyLengthening.h"

#include "engine/cipher/CipherEngine.h"
#include "engine/cipher/GuardedStack.h"

namespace kyv {

SecureBytes LengthenKey(const SecureBytes& key)
{
    if (key.empty()) return SecureBytes();
    SecureBytes lengthened(cipher::kKeyLength);
    for (std::size_t i = 0; i < cipher::kKeyLength; ++i) lengthened[i] = key[i % key.size()];
    // No copy of it stays behind in the registers the loop may have used.
    cipher::ClearVectorRegisters();
    return lengthened;
}

}  // namespace kyv
