#include "core/keys/KeyChecksum.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "core/keys/KeyNormalization.h"

namespace kyv {

SecureBytes MD5Digest(std::span<const unsigned char> bytes, std::size_t length)
{
    // The hash's state holds up to a block of the key until the digest is final; libcrypto wipes
    // that state when the context is freed, which a kept Qt hash object never does.
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    SecureBytes digest(kMD5DigestLength);
    unsigned int written = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), bytes.data(), std::min(length, bytes.size())) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest.data(), &written) != 1 || written != kMD5DigestLength)
        throw std::runtime_error("MD5 is not available");
    return digest;
}

int ChecksumFromDigest(std::span<const unsigned char> digest)
{
    // At most 8 × (255 × 65536 + 255): the sum never leaves the 32-bit range.
    std::int32_t sum = 0;
    for (std::size_t k = 0; k + 1 < kMD5DigestLength && k + 1 < digest.size(); k += 2)
        sum += static_cast<std::int32_t>(digest[k]) * 65536 + static_cast<std::int32_t>(digest[k + 1]);
    return sum % (kHighestChecksum - kLowestChecksum + 1) + kLowestChecksum;
}

int KeyChecksum(KeyState& keyState, std::span<const unsigned char> key)
{
    keyState.digest = MD5Digest(key, key.size());
    return ChecksumFromDigest(keyState.digest.View());
}

int RunningChecksum(std::span<const unsigned char> text)
{
    const SecureBytes key = NormalizedKeyText(text);
    const SecureBytes digest = MD5Digest(key.View(), key.size());
    return ChecksumFromDigest(digest.View());
}

}  // namespace kyv
