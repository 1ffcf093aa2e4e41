#include "core/keys/RandomTextKey.h"

#include <sodium.h>

#include <cstdint>
#include <stdexcept>

namespace kyv {

namespace {

constexpr std::uint32_t kLowestCode = 32;
constexpr std::uint32_t kTypedCodes = 91;     // 32 to 122
constexpr std::uint32_t kKeyfileCodes = 224;  // 32 to 255
constexpr std::uint32_t kOneInTen = 10;

}  // namespace

void GenerateRandomTextKey(KeyState& keyState)
{
    if (sodium_init() < 0) throw std::runtime_error("The random source cannot be initialised.");
    const std::uint32_t length =
        kRandomTextKeyShortest + randombytes_uniform(kRandomTextKeyLongest - kRandomTextKeyShortest + 1);
    const bool fromKeyfile = randombytes_uniform(kOneInTen) == 0;
    const std::uint32_t codes = fromKeyfile ? kKeyfileCodes : kTypedCodes;

    // Built where it stays: in guarded memory, character by character.
    SecureBytes key(length);
    for (std::uint32_t i = 0; i < length; ++i)
        key[i] = static_cast<unsigned char>(kLowestCode + randombytes_uniform(codes));
    keyState.lastKeyText = key;
    keyState.normalizedKey = std::move(key);
    keyState.source = fromKeyfile ? Keyfile : KeyboardEntry;
}

}  // namespace kyv
